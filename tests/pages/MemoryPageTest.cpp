// The Memory page in the real window: the figure rows and the chart from replaced memory queries
// and from the system's, the process list (replaced, and the real one), the language file's
// words, and requests arriving during the fill.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/pages/FakeLookup.h"
#include "tests/support/PageTest.h"
#include "tests/support/WinTestTools.h"
#include "tests/support/WindowTest.h"
#include "tests/support/WindowWalk.h"

namespace orv {
namespace {

using Texts = std::vector<std::string>;
constexpr std::uint64_t kMb = 1048576;

// The four rows, the chart's title and its slices (label, value, colour) as the user sees them.
std::vector<std::string> Shown(TForm1& f) {
  std::vector<std::string> out = {f.Page3Label01.Caption(), f.Page3Label02.Caption(),
                                  f.Page3Label03.Caption(), f.Page3Label04.Caption(),
                                  "title " + f.MemoryChart.Model().title};
  for (const PiePoint& point : f.MemoryChart.Model().points) out.push_back(test::SliceText(point));
  return out;
}

// The page is made when first shown: a case that reads it before its first fill makes it first.
class MemoryPageTest : public test::WindowTest {
 protected:
  TForm1& MakeWith(std::uint8_t load, std::uint64_t physical, std::uint64_t virtualBytes) {
    TForm1& f = Make();
    f.Sources.memoryLoad = [load] { return load; };
    f.Sources.totalPhysicalMemory = [physical] { return physical; };
    f.Sources.totalVirtualMemory = [virtualBytes] { return virtualBytes; };
    f.Sources.processPaths = test::FakeProcesses({"C:\\windows\\system32\\winlogon.exe"});
    return f;
  }
};

TEST_F(MemoryPageTest, FiguresAndChartForTheLoadsAtBothEnds) {
  TForm1& f = MakeWith(37, 4096 * kMb, 8388608 * kMb);
  EXPECT_TRUE(f.MemoryChart.Model().points.empty());  // nothing before the first show
  f.Page3Show();
  EXPECT_EQ(Shown(f),
            (Texts{"Memory size: 4096 Mb", "Used: 37 % , Free: 63 %", "Virtual memory: 8388608 Mb",
                   "Processes: 1", "title Memory usage", "Free 63 green", "Used 37 blue"}));
  EXPECT_EQ(f.MemoryChart.Model().marks, PieMarks::LabelAndValue);
  // The slices are replaced, not added to, at every show.
  const struct {
    std::uint8_t load;
    const char* row;
    const char* free;
    const char* used;
  } loads[] = {{0, "Used: 0 % , Free: 100 %", "Free 100 green", "Used 0 blue"},
               {100, "Used: 100 % , Free: 0 %", "Free 0 green", "Used 100 blue"}};
  for (const auto& l : loads) {
    f.Sources.memoryLoad = [&l] { return l.load; };
    f.Page3Show();
    EXPECT_EQ(Shown(f), (Texts{"Memory size: 4096 Mb", l.row, "Virtual memory: 8388608 Mb",
                               "Processes: 1", "title Memory usage", l.free, l.used}));
  }
}

TEST_F(MemoryPageTest, HalfMegabytesGoToTheEvenNeighbour) {
  TForm1& f = MakeWith(50, 512 * kMb + kMb / 2, 513 * kMb + kMb / 2);
  f.Page3Show();
  EXPECT_EQ(f.Page3Label01.Caption(), "Memory size: 512 Mb");
  EXPECT_EQ(f.Page3Label03.Caption(), "Virtual memory: 514 Mb");
}

TEST_F(MemoryPageTest, TheSystemsFiguresWhenShownAsATab) {
  TForm1& f = Make();
  f.Show();
  UserPicksTab(f, 2);
  ASSERT_EQ(f.PageShowCount[2], 1);
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof(memory);
  ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
  // Within half a megabyte of the system's figures (the rounding has its own test).
  EXPECT_NEAR(MegabytesIn(f.Page3Label01.Caption(), "Memory size: "), memory.ullTotalPhys, kMb / 2);
  EXPECT_NEAR(MegabytesIn(f.Page3Label03.Caption(), "Virtual memory: "), memory.ullTotalVirtual,
              kMb / 2);
  // The load moves between two readings; the row and the chart agree with each other.
  const PieChartModel& chart = f.MemoryChart.Model();
  ASSERT_EQ(chart.points.size(), 2u);
  EXPECT_EQ(chart.points[0].value + chart.points[1].value, 100);
  const int used = static_cast<int>(chart.points[1].value);
  EXPECT_EQ(f.Page3Label02.Caption(),
            "Used: " + std::to_string(used) + " % , Free: " + std::to_string(100 - used) + " %");
  // This test program is among the listed processes, and the count is the number of lines.
  const std::string own = test::ThisProgram();
  const std::vector<std::string> lines = f.Page3List.Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), own), lines.end()) << own;
  EXPECT_EQ(f.Page3Label04.Caption(), "Processes: " + std::to_string(lines.size()));
}

TEST_F(MemoryPageTest, TheListIsRebuiltAtEveryShowWithEveryCopyCounted) {
  TForm1& f = MakeWith(10, kMb, kMb);
  MakeEveryPage(f);
  EXPECT_EQ(f.Page3List.Lines(), Texts{""});
  const std::vector<std::string> processes = {"C:\\windows\\system32\\winlogon.exe",
                                              "C:\\Program Files\\Tool\\tool.exe",
                                              "C:\\Program Files\\Tool\\tool.exe", "svchost.exe"};
  f.Sources.processPaths = test::FakeProcesses(processes);
  f.Page3Show();
  EXPECT_EQ(f.Page3List.Lines(), processes);  // in order, the two copies on two lines
  EXPECT_EQ(f.Page3Label04.Caption(), "Processes: 4");
  f.Page3Show();
  EXPECT_EQ(f.Page3List.Lines(), processes);
  EXPECT_EQ(f.Page3Label04.Caption(), "Processes: 4");

  // No process list at all: an empty box and a count of 0, the figures all the same.
  f.Sources.processPaths = test::FakeProcesses({});
  f.Sources.memoryLoad = [] { return std::uint8_t{20}; };
  f.Page3Show();
  EXPECT_TRUE(f.Page3List.Lines().empty());
  EXPECT_EQ(Shown(f),
            (Texts{"Memory size: 1 Mb", "Used: 20 % , Free: 80 %", "Virtual memory: 1 Mb",
                   "Processes: 0", "title Memory usage", "Free 80 green", "Used 20 blue"}));
}

// The release program is 32-bit and nearly always runs on 64-bit Windows, where it cannot read the
// modules of the 64-bit system processes: they must still be listed by their paths, not their
// bare names. services.exe runs in every session, Windows' and Wine's alike.
TEST_F(MemoryPageTest, SystemProcessesAreListedByTheirPaths) {
  const std::string services = test::SystemFolder() + "services.exe";
  TForm1& f = Make();
  f.Page3Show();
  int seen = 0;
  for (const std::string& line : f.Page3List.Lines()) {
    if (line.size() < 12 || lstrcmpiA(&line[line.size() - 12], "services.exe") != 0) continue;
    ++seen;
    EXPECT_EQ(lstrcmpiA(line.c_str(), services.c_str()), 0) << line << " is not " << services;
  }
  EXPECT_GE(seen, 1) << "services.exe is not listed at all";
}

TEST_F(MemoryPageTest, TheLanguageFilesWordsOnTheRowsAndTheChart) {
  Language(
      "[Memory]\nSize=Speichergroesse\nVirtual=Virtueller Speicher\nUsage=Speichernutzung\n"
      "Processes=Prozesse\n[Drives]\nUsed=Belegt\nFree=Frei\n");
  TForm1& f = MakeWith(25, 2048 * kMb, 4096 * kMb);
  f.Page3Show();
  EXPECT_EQ(Shown(f), (Texts{"Speichergroesse: 2048 Mb", "Belegt: 25 % , Frei: 75 %",
                             "Virtueller Speicher: 4096 Mb", "Prozesse: 1", "title Speichernutzung",
                             "Frei 75 green", "Belegt 25 blue"}));

  // The title holds one line, the file's current word, after the next show.
  Language("[Drives]\nUsed=In use\n");
  f.Page3Show();
  EXPECT_EQ(Shown(f),
            (Texts{"Memory size: 2048 Mb", "In use: 25 % , Free: 75 %", "Virtual memory: 4096 Mb",
                   "Processes: 1", "title Memory usage", "Free 75 green", "In use 25 blue"}));
}

TEST_F(MemoryPageTest, RequestsArrivingDuringTheListWaitForIt) {
  TForm1& f = MakeWith(40, 1024 * kMb, 2048 * kMb);
  f.Show();  // fills General
  UserPicksTab(f, 2);
  ASSERT_EQ(f.PageShowCount[2], 1);
  const int generalShows = f.PageShowCount[0];

  int depth = 0;
  int deepest = 0;
  int lists = 0;
  std::vector<std::string> seenInside;
  f.Sources.general.computerName = [] { return std::string("AFTER-PC"); };
  f.Sources.processPaths = [&](const std::function<void()>& beforeEach) {
    ++depth;
    ++lists;
    deepest = std::max(deepest, depth);
    for (int i = 0; i < 3; ++i) {
      if (lists == 1 && i == 1) {
        // The user clicks the General tab and a link, and the page is asked for again, while the
        // fill lets messages through.
        PostClick(f.Page3Label05);
        UserPicksTab(f, 0);
        f.Page3Show();
        f.Page1Show();
      }
      beforeEach();
      if (lists == 1 && i == 2) {
        seenInside = {std::to_string(f.PageShowCount[0] - generalShows), f.Page1Label04.Caption(),
                      std::to_string(outside.opened.size()), f.Page3Label04.Caption()};
      }
    }
    --depth;
    return Texts{"a.exe", "b.exe", "c.exe"};
  };
  f.Page3Show();
  EXPECT_EQ(deepest, 1) << "one list at a time";
  EXPECT_EQ(lists, 2);  // this fill and the one asked for during it
  // Nothing of it ran inside the list. The memory rows were set before it; the count waits for it.
  EXPECT_EQ(seenInside,
            (Texts{"0", "Computer name: " + test::ComputerName(), "0", "Processes: 1"}));

  EXPECT_EQ(f.PageShowCount[0], generalShows + 1);
  EXPECT_EQ(f.Page1Label04.Caption(), "Computer name: AFTER-PC");
  EXPECT_EQ(outside.opened.size(), 1u);
  EXPECT_EQ(f.Page3List.Lines(), (Texts{"a.exe", "b.exe", "c.exe"}));
  EXPECT_EQ(f.Page3Label04.Caption(), "Processes: 3");
  EXPECT_FALSE(f.FillRunning());
}

}  // namespace
}  // namespace orv
