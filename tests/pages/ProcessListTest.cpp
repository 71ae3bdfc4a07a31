#include "pages/ProcessList.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "tests/support/HandleProbe.h"
#include "tests/support/SleepingCopies.h"

namespace orv {
namespace {

constexpr char kSleeperFlag[] = "--pages-sleeping-child";

const bool kIsSleeper = test::SleepIfAskedTo(kSleeperFlag);

std::string OwnPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

long CountOf(const std::vector<std::string>& lines, const std::string& line) {
  return std::count(lines.begin(), lines.end(), line);
}

TEST(ProcessList, ContainsThisProgramsPath) {
  int records = 0;
  test::HandleProbe probe;
  const auto lines = ListProcessPaths([&records] { ++records; });
  EXPECT_TRUE(probe.NothingLeaked());
  EXPECT_GE(CountOf(lines, OwnPath()), 1) << OwnPath();
  EXPECT_GE(records, static_cast<int>(lines.size()));
  for (const std::string& line : lines) EXPECT_GE(line.size(), 1u);
}

TEST(ProcessList, TwoCopiesOfOneProgramGiveTwoLines) {
  // A copy of this program under a name of its own, so that other test programs running at the
  // same time cannot add lines of the same path.
  char tempDir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, tempDir);
  const std::string copy =
      std::string(tempDir) + "orv_sleeper_" + std::to_string(GetCurrentProcessId()) + ".exe";
  ASSERT_TRUE(CopyFileA(OwnPath().c_str(), copy.c_str(), FALSE));
  {
    test::SleepingCopies copies(copy, kSleeperFlag, 2);
    ASSERT_EQ(copies.Count(), 2u);
    // The module path is readable once the loader has mapped the program; poll briefly.
    std::vector<std::string> lines;
    for (int attempt = 0; attempt < 50; ++attempt) {
      lines = ListProcessPaths({});
      if (CountOf(lines, copy) >= 2) break;
      Sleep(100);
    }
    std::string sample;
    for (const auto& line : lines) {
      if (line.find("orv_sleeper") != std::string::npos) sample += line + "\n";
    }
    EXPECT_EQ(CountOf(lines, copy), 2) << sample;
  }
  DeleteFileA(copy.c_str());
}

// Stand-ins for system functions (WINAPI, so they also fit the 32-bit build's pointers).
DWORD WINAPI ShortModuleName(HANDLE, HMODULE, char* name, DWORD) {
  std::strcpy(name, "ab");  // shorter than three characters
  return 2;
}
HANDLE WINAPI FailedSnapshot(DWORD, DWORD) { return INVALID_HANDLE_VALUE; }
BOOL WINAPI NoFirstRecord(HANDLE, PROCESSENTRY32*) { return FALSE; }

TEST(ProcessList, SnapshotFileNameWhenThePathCannotBeRead) {
  ProcessFunctions f = SystemProcessFunctions();
  ASSERT_NE(f.createSnapshot, nullptr);
  ASSERT_NE(f.moduleFileName, nullptr);
  f.moduleFileName = ShortModuleName;
  const auto lines = ListProcessPaths(f, {});
  const std::string own = OwnPath();
  const std::string fileName = own.substr(own.rfind('\\') + 1);
  EXPECT_GE(CountOf(lines, fileName), 1) << fileName;
  EXPECT_EQ(CountOf(lines, own), 0);

  f.enumModules = nullptr;  // PSAPI missing
  EXPECT_GE(CountOf(ListProcessPaths(f, {}), fileName), 1);
}

TEST(ProcessList, NoSnapshotGivesAnEmptyList) {
  ProcessFunctions f = SystemProcessFunctions();
  int records = 0;
  f.createSnapshot = nullptr;
  EXPECT_TRUE(ListProcessPaths(f, [&records] { ++records; }).empty());
  f = SystemProcessFunctions();
  f.createSnapshot = FailedSnapshot;
  EXPECT_TRUE(ListProcessPaths(f, [&records] { ++records; }).empty());
  f = SystemProcessFunctions();
  f.first = NoFirstRecord;
  test::HandleProbe probe;
  EXPECT_TRUE(ListProcessPaths(f, [&records] { ++records; }).empty());
  EXPECT_TRUE(probe.NothingLeaked()) << "the snapshot is closed";
  EXPECT_EQ(records, 0);
}

}  // namespace
}  // namespace orv
