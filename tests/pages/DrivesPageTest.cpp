// The Drives page in the real window: the rows and figures of the Wine prefix's own drives and of
// drives added to it, then drive sets given through replaced queries (types, file systems, sizes),
// the clickable mark, the language file's words, and requests arriving during the listing.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "pages/DriveProbe.h"
#include "tests/pages/FakeLookup.h"
#include "tests/support/PageTest.h"
#include "tests/support/WinTestTools.h"
#include "tests/support/WindowTest.h"

namespace orv {
namespace {

using Texts = std::vector<std::string>;
constexpr std::int64_t kGb = 1073741824;

struct FakeDrive {
  char letter;
  unsigned type;
  std::uint8_t kind = kFsNtfs;
  std::int64_t size = -1;  // -1: the space query fails
  std::int64_t free = -1;
};

// The nine drive slots as the user (and a report) sees them: text, letter, shown or hidden, and
// whether the slot carries the clickable mark (underlined font together with the hand cursor).
Texts Slots(TForm1& f) {
  Texts out;
  const auto labels = f.DriveLabels();
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const Label& label = *labels[i];
    const bool underlined = label.Underlined();
    const bool hand = label.Cursor() == CursorKind::Hand;
    out.push_back(label.Caption() + "|" + f.DriveLabelLetter[i] +
                  (label.Visible() ? "|shown" : "|hidden") +
                  (underlined && hand     ? "|marked"
                   : !underlined && !hand ? "|plain"
                                          : "|half-marked"));
  }
  return out;
}

const Texts kDesignSlots = {
    "Drive C: Fixed|C|hidden|marked", "Drive D:|D|hidden|marked", "Drive E:|E|hidden|marked",
    "Drive F:|F|hidden|marked",       "Drive G:|G|hidden|marked", "Drive H:|H|hidden|marked",
    "Drive I:|I|hidden|marked",       "Drive j:|J|hidden|marked", "Drive K:|K|hidden|marked"};

// The design's slots with the first ones as given.
Texts DesignSlotsWith(const Texts& first) {
  Texts slots = first;
  slots.insert(slots.end(), kDesignSlots.begin() + first.size(), kDesignSlots.end());
  return slots;
}

// The three figure labels, the chart's title and its slices in order.
Texts Figures(TForm1& f) {
  Texts out = {f.Page2Label11.Caption(), f.Page2Label12.Caption(), f.Page2Label13.Caption(),
               "title " + f.DriveChart.Model().title};
  for (const PiePoint& point : f.DriveChart.Model().points) out.push_back(test::SliceText(point));
  return out;
}

const Texts kDesignFigures = {"Drive size:", "Used:", "Free:", "title TChart"};

// The figures of a drive worked out here from its byte counts as GetDiskFreeSpaceExA gives them,
// rounding to nearest with ties to even as the floating-point unit does by default.
Texts ExpectedFigures(char letter, const std::string& title) {
  ULARGE_INTEGER available{}, total{};
  const std::string root{letter, ':', '\\'};
  EXPECT_TRUE(GetDiskFreeSpaceExA(root.c_str(), &available, &total, nullptr)) << root;
  const auto size = static_cast<double>(total.QuadPart);
  const auto free = static_cast<double>(available.QuadPart);
  const auto gb = [](double bytes) {
    return std::to_string(static_cast<long long>(std::nearbyint(bytes / kGb)));
  };
  const int percent = static_cast<int>(std::nearbyint(100.0 * (size - free) / size));
  return {"Drive size: " + gb(size) + " Gb",
          "Used: " + gb(size - free) + " Gb (" + std::to_string(percent) + " %)",
          "Free: " + gb(free) + " Gb (" + std::to_string(100 - percent) + " %)",
          "title " + title,
          "Free " + std::to_string(100 - percent) + " green",
          "Used " + std::to_string(percent) + " blue"};
}

class DrivesPageTest : public test::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    DriveFsKind = 0;  // program-wide; each test starts as the program does
    ASSERT_EQ(std::fegetround(), FE_TONEAREST);
  }

  // The window with these drives instead of the system's; every drive query goes to log.
  TForm1& MakeWith(const std::vector<FakeDrive>& drives) {
    TForm1& f = Make();
    Use(f, drives);
    return f;
  }

  void Use(TForm1& f, const std::vector<FakeDrive>& drives) {
    const auto find = [drives](char letter) {
      for (const FakeDrive& d : drives) {
        if (d.letter == letter) return d;
      }
      return FakeDrive{letter, DRIVE_NO_ROOT_DIR};
    };
    f.Sources.logicalDrives = [this, drives] {
      log.push_back("list");
      std::uint32_t mask = 0;
      for (const FakeDrive& d : drives) mask |= 1u << (d.letter - 'A');
      return mask;
    };
    f.Sources.driveType = [this, find](const std::string& root) {
      log.push_back("type " + root);
      return find(root[0]).type;
    };
    f.Sources.fsKind = [this, find](const std::string& drive) {
      log.push_back("fs " + drive);
      return find(drive[0]).kind;
    };
    f.Sources.driveSpace = [this, find](char letter, std::int64_t& size, std::int64_t& free) {
      log.push_back(std::string("space ") + letter);
      size = find(letter).size;
      free = find(letter).free;
    };
  }

  // Runs action once, in the listing, when it asks for the type of D:. The flag is shared: a fill
  // works on a copy of the queries.
  static void OnceAtD(TForm1& f, std::function<void()> action) {
    auto done = std::make_shared<bool>(false);
    f.Sources.driveType = [type = f.Sources.driveType, action, done](const std::string& root) {
      if (root == "D:\\" && !std::exchange(*done, true)) action();
      return type(root);
    };
  }

  Texts log;
};

// ---- The system's own drives.

TEST_F(DrivesPageTest, ThePrefixsOwnDrivesAgreeWithTheSystem) {
  TForm1& f = Make();
  const Texts before = ExpectedFigures('C', "Drive C: Fixed (NTFS)");
  f.Show();
  UserPicksTab(f, 1);
  const Texts after = ExpectedFigures('C', "Drive C: Fixed (NTFS)");
  ASSERT_EQ(f.PageShowCount[1], 1);

  const test::WmicDisks wmic = test::RunWmicLogicalDisk();
  if (wmic.empty()) std::printf("wmic gave no output; rows checked against the volume query\n");
  const auto labels = f.DriveLabels();
  Label* zRow = nullptr;
  int shown = 0;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (!labels[i]->Visible()) continue;
    ++shown;
    const char letter = f.DriveLabelLetter[i];
    const std::string drive{letter, ':'};
    const bool fixed = GetDriveTypeA((drive + "\\").c_str()) == DRIVE_FIXED;
    const std::string fs = test::VolumeFsName(drive + "\\");
    const std::string suffix = test::KnownFsNamed(fs).suffix;
    if (fixed && suffix.empty()) {
      // Another file system (exFAT, ReFS): the row's kind then comes from the first sector, which
      // no independent source here reads.
      std::printf("%s has the file system %s; its row is not compared\n", drive.c_str(),
                  fs.c_str());
    } else if (fixed) {
      EXPECT_EQ(Slots(f)[i],
                "Drive " + drive + " Fixed " + suffix + "|" + letter + "|shown|marked");
      if (wmic.count(drive)) {
        EXPECT_EQ(wmic.at(drive).at("DriveType"), "3") << drive;
        EXPECT_EQ(wmic.at(drive).at("FileSystem"), fs) << drive;
      }
    } else {
      EXPECT_EQ(Slots(f)[i], "Drive " + drive + " Removable |" + letter + "|shown|plain");
    }
    if (letter == 'Z') zRow = labels[i];
  }
  EXPECT_GE(shown, 1);
  EXPECT_EQ(f.DriveLabelLetter[0], 'C') << "the prefix has no drive B:";
  EXPECT_EQ(f.Page2Label02.Caption(), "Drive C: Fixed (NTFS)");
  EXPECT_TRUE(f.Page2Label01.Visible());
  EXPECT_EQ(f.Page2Label01.Caption(), "Drive A: Removable");

  // The first drive's figures, as the system reports its space before or after the show (other
  // programs write to the same disk meanwhile).
  EXPECT_TRUE(Figures(f) == before || Figures(f) == after) << ::testing::PrintToString(Figures(f));
  EXPECT_EQ(f.DriveChart.Model().marks, PieMarks::Label);

  if (!test::RunningOnWine()) return;
  ASSERT_NE(zRow, nullptr) << "Wine maps Z: to the Unix root";
  EXPECT_EQ(DriveFsKind, kFsNtfs) << "Z: was examined last";
  const Texts zBefore = ExpectedFigures('Z', zRow->Caption());
  zRow->Click();
  const Texts zAfter = ExpectedFigures('Z', zRow->Caption());
  EXPECT_TRUE(Figures(f) == zBefore || Figures(f) == zAfter)
      << ::testing::PrintToString(Figures(f));
}

TEST_F(DrivesPageTest, DrivesAddedToThePrefix) {
  if (!test::RunningOnWine()) GTEST_SKIP() << "adds drive letters through Wine's mount manager";
  const std::string target = test::UnixFolderOfThisProgram();
  ASSERT_FALSE(target.empty());
  const char cdLetter = test::FreeLetterFrom('M');
  ASSERT_NE(cdLetter, 0);
  test::ScopedWineDrive cd(cdLetter, target, DRIVE_CDROM);
  ASSERT_TRUE(cd.Ok());
  const char stickLetter = test::FreeLetterFrom(static_cast<char>(cdLetter + 1));
  ASSERT_NE(stickLetter, 0);
  test::ScopedWineDrive stick(stickLetter, target, DRIVE_REMOVABLE);
  ASSERT_TRUE(stick.Ok());
  const std::uint8_t stickKind = GetDriveFileSystemKind(std::string{stickLetter, ':'});

  TForm1& f = Make();
  f.Page2Show();
  const auto slots = Slots(f);
  const auto rowOf = [&](char letter) -> int {
    for (std::size_t i = 0; i < slots.size(); ++i) {
      if (f.DriveLabelLetter[i] == letter && f.DriveLabels()[i]->Visible()) {
        return static_cast<int>(i);
      }
    }
    return -1;
  };
  // The CD-ROM comes after C: (NTFS) and is listed as removable, without figures.
  const int cdRow = rowOf(cdLetter);
  ASSERT_GE(cdRow, 0) << ::testing::PrintToString(slots);
  EXPECT_EQ(slots[cdRow],
            std::string("Drive ") + cdLetter + ": Removable |" + cdLetter + "|shown|plain");
  // The removable drive is listed when its own file system is known, and then without figures.
  const int stickRow = rowOf(stickLetter);
  if (stickKind == kFsNone) {
    EXPECT_EQ(stickRow, -1);
  } else {
    ASSERT_GE(stickRow, 0);
    EXPECT_EQ(slots[stickRow],
              std::string("Drive ") + stickLetter + ": Removable |" + stickLetter + "|shown|plain");
  }
  std::printf("added %c: (CD-ROM) and %c: (removable, kind %d)\n", cdLetter, stickLetter,
              stickKind);

  const auto figures = Figures(f);
  ASSERT_EQ(f.DriveChart.Model().title, "Drive C: Fixed (NTFS)");
  f.DriveLabels()[static_cast<std::size_t>(cdRow)]->Click();
  EXPECT_EQ(Figures(f), figures);
}

// ---- Drive sets given through the queries.

TEST_F(DrivesPageTest, NothingBeforeTheFirstShowAndNoFiguresWhenARemovableDriveComesFirst) {
  TForm1& f = MakeWith({{'B', DRIVE_REMOVABLE, kFsFat32}, {'C', DRIVE_FIXED, kFsNtfs, 8 * kGb, 0}});
  MakeEveryPage(f);
  EXPECT_EQ(Slots(f), kDesignSlots);
  EXPECT_EQ(Figures(f), kDesignFigures);
  EXPECT_EQ(f.DriveChart.Model().marks, PieMarks::Label);

  f.Page2Show();
  EXPECT_EQ(Slots(f), DesignSlotsWith({"Drive B: Removable |B|shown|plain",
                                       "Drive C: Fixed (NTFS)|C|shown|marked"}));
  EXPECT_EQ(Figures(f), kDesignFigures);  // the first slot carries no mark
  EXPECT_EQ(log, (Texts{"list", "type B:\\", "fs B:", "type C:\\", "fs C:"}));

  f.Page2Label03.Click();
  EXPECT_EQ(Figures(f), (Texts{"Drive size: 8 Gb", "Used: 8 Gb (100 %)", "Free: 0 Gb (0 %)",
                               "title Drive C: Fixed (NTFS)", "Free 0 green", "Used 100 blue"}));
}

TEST_F(DrivesPageTest, FixedCdromAndRemovableDrives) {
  // 5 of 8 Gb used is 62.5 %, which rounds to the even 62.
  TForm1& f = MakeWith({{'C', DRIVE_FIXED, kFsNtfs, 8 * kGb, 3 * kGb},
                        {'D', DRIVE_CDROM, kFsNone},
                        {'E', DRIVE_REMOVABLE, kFsFat32, 16 * kGb, 16 * kGb},
                        {'F', DRIVE_FIXED, kFsFat16, 2 * kGb, kGb}});
  f.Page2Show();
  EXPECT_EQ(Slots(f),
            DesignSlotsWith({"Drive C: Fixed (NTFS)|C|shown|marked",
                             "Drive D: Removable |D|shown|plain",  // a CD-ROM after an NTFS drive
                             "Drive E: Removable |E|shown|plain",
                             "Drive F: Fixed (FAT16)|F|shown|marked"}));
  EXPECT_EQ(f.Page2Label01.Caption(), "Drive A: Removable");
  const Texts cFigures = {"Drive size: 8 Gb",  "Used: 5 Gb (62 %)",
                          "Free: 3 Gb (38 %)", "title Drive C: Fixed (NTFS)",
                          "Free 38 green",     "Used 62 blue"};
  EXPECT_EQ(Figures(f), cFigures);
  // Only removable and fixed drives are examined; only the first listed is measured.
  EXPECT_EQ(log, (Texts{"list", "type C:\\", "fs C:", "type D:\\", "type E:\\",
                        "fs E:", "type F:\\", "fs F:", "space C"}));

  // A click on a row without the mark changes nothing and asks nothing.
  log.clear();
  f.Page2Label03.Click();
  f.Page2Label04.Click();
  PostClick(f.Page2Label01);
  f.ProcessMessages();
  EXPECT_EQ(Figures(f), cFigures);
  EXPECT_TRUE(log.empty());
}

TEST_F(DrivesPageTest, ClickingAnotherFixedDriveShowsItsFiguresAndTitle) {
  TForm1& f = MakeWith({{'C', DRIVE_FIXED, kFsNtfs, 8 * kGb, 3 * kGb},
                        {'E', DRIVE_FIXED, kFsNtfs, 500 * kGb, 125 * kGb}});
  f.Show();
  UserPicksTab(f, 1);
  EXPECT_EQ(Slots(f)[1], "Drive E: Fixed (NTFS)|E|shown|marked");
  PostClick(f.Page2Label03);  // as Windows reports a user's click
  f.ProcessMessages();
  EXPECT_EQ(Figures(f), (Texts{"Drive size: 500 Gb", "Used: 375 Gb (75 %)", "Free: 125 Gb (25 %)",
                               "title Drive E: Fixed (NTFS)", "Free 25 green", "Used 75 blue"}));
  EXPECT_EQ(log.back(), "space E");
}

TEST_F(DrivesPageTest, FiguresOfAnEmptyAndOfAnUnreadableDriveAndHalvesToEven) {
  struct Case {
    std::int64_t size, free;
    Texts figures;  // without the title
  };
  const Texts zero = {"Drive size: 0 Gb", "Used: 0 Gb (0 %)", "Free: 0 Gb (100 %)",
                      "Free 100 green", "Used 0 blue"};
  const std::vector<Case> cases = {
      {0, 0, zero},    // a size of 0 would divide zero by zero: it shows as 0 % used
      {-1, -1, zero},  // the space query failed
      // 2.5 Gb used rounds down to 2, 1.5 Gb free up to 2, 62.5 % to 62.
      {4 * kGb,
       kGb + kGb / 2,
       {"Drive size: 4 Gb", "Used: 2 Gb (62 %)", "Free: 2 Gb (38 %)", "Free 38 green",
        "Used 62 blue"}},
  };
  TForm1& f = MakeWith({{'C', DRIVE_FIXED, kFsNtfs}});
  f.Page2Show();
  for (const Case& c : cases) {
    f.Sources.driveSpace = [c](char, std::int64_t& size, std::int64_t& free) {
      size = c.size;
      free = c.free;
    };
    f.Page2LabelClick(f.Page2Label02);
    auto figures = Figures(f);
    figures.erase(figures.begin() + 3);
    EXPECT_EQ(figures, c.figures) << c.size << " / " << c.free;
  }
}

TEST_F(DrivesPageTest, AtMostNineDrivesAreListedAndTheRestAreStillExamined) {
  for (const int count : {10, 11}) {
    std::vector<FakeDrive> drives;
    for (int i = 0; i < count; ++i) drives.push_back({static_cast<char>('C' + i), DRIVE_FIXED});
    TForm1& f = MakeWith(drives);
    log.clear();
    f.Page2Show();
    const auto slots = Slots(f);
    for (int i = 0; i < 9; ++i) {
      const char letter = static_cast<char>('C' + i);
      EXPECT_EQ(slots[i],
                std::string("Drive ") + letter + ": Fixed (NTFS)|" + letter + "|shown|marked");
    }
    int examined = 0;
    for (const std::string& entry : log) examined += entry.rfind("fs ", 0) == 0;
    EXPECT_EQ(examined, count);
  }
}

TEST_F(DrivesPageTest, AShorterListingHidesTheRestAndKeepsTheirTextLetterAndMark) {
  TForm1& f = MakeWith({{'C', DRIVE_FIXED, kFsNtfs, kGb, 0},
                        {'D', DRIVE_FIXED, kFsNtfs, kGb, 0},
                        {'E', DRIVE_FIXED, kFsNtfs, kGb, 0},
                        {'G', DRIVE_REMOVABLE, kFsFat32}});
  f.Page2Show();
  Use(f, {{'C', DRIVE_FIXED, kFsNtfs, kGb, 0}, {'H', DRIVE_CDROM}});
  f.Page2Show();
  EXPECT_EQ(Slots(f), DesignSlotsWith({"Drive C: Fixed (NTFS)|C|shown|marked",
                                       "Drive H: Removable |H|shown|plain",  // the mark is cleared
                                       "Drive E: Fixed (NTFS)|E|hidden|marked",
                                       "Drive G: Removable |G|hidden|plain"}));
}

TEST_F(DrivesPageTest, TheLanguageFilesWords) {
  Language(
      "[Drives]\r\nDrive=Laufwerk\r\nFixed=Festplatte\r\nRemovable=Wechselmedium\r\n"
      "Size=Laufwerksgroesse\r\nUsed=Belegt\r\nFree=Frei\r\n");
  TForm1& f = MakeWith(
      {{'C', DRIVE_FIXED, kFsNtfs, 500 * kGb, 125 * kGb}, {'E', DRIVE_REMOVABLE, kFsFat32}});
  f.Page2Show();
  EXPECT_EQ(Slots(f)[0], "Laufwerk C: Festplatte (NTFS)|C|shown|marked");
  EXPECT_EQ(Slots(f)[1], "Laufwerk E: Wechselmedium |E|shown|plain");
  EXPECT_EQ(Figures(f),
            (Texts{"Laufwerksgroesse: 500 Gb", "Belegt: 375 Gb (75 %)", "Frei: 125 Gb (25 %)",
                   "title Laufwerk C: Festplatte (NTFS)", "Frei 25 green", "Belegt 75 blue"}));
}

// ---- One fill at a time.

TEST_F(DrivesPageTest, ATabChangeAndADriveClickDuringTheListingWaitForIt) {
  TForm1& f = MakeWith({{'C', DRIVE_FIXED, kFsNtfs, 8 * kGb, 3 * kGb},
                        {'D', DRIVE_FIXED, kFsNtfs, 500 * kGb, 125 * kGb},
                        {'E', DRIVE_REMOVABLE, kFsFat32}});
  f.Sources.memoryLoad = [this] { return log.push_back("memory"), std::uint8_t{10}; };
  f.Sources.processPaths = test::FakeProcesses({});
  f.Show();
  bool delivered = false;
  OnceAtD(f, [&] {
    delivered = true;
    PostClick(f.Page2Label03);  // let through at the next letter
    UserPicksTab(f, 2);         // the Memory tab, at once
    EXPECT_EQ(f.PageShowCount[2], 0);
  });
  UserPicksTab(f, 1);
  ASSERT_TRUE(delivered);
  // The listing ran through once, then the first drive's figures, then the Memory page, then the
  // click, in the order they came.
  EXPECT_EQ(log, (Texts{"list", "type C:\\", "fs C:", "type D:\\", "fs D:", "type E:\\",
                        "fs E:", "space C", "memory", "space D"}));
  EXPECT_EQ(f.PageShowCount, (std::array<int, 6>{1, 1, 1, 0, 0, 0}));
  EXPECT_EQ(f.Pages.ActiveIndex(), 2);
  EXPECT_EQ(Slots(f), DesignSlotsWith({"Drive C: Fixed (NTFS)|C|shown|marked",
                                       "Drive D: Fixed (NTFS)|D|shown|marked",
                                       "Drive E: Removable |E|shown|plain"}));
  EXPECT_EQ(Figures(f)[0], "Drive size: 500 Gb");
  EXPECT_EQ(f.DriveChart.Model().title, "Drive D: Fixed (NTFS)");
}

TEST_F(DrivesPageTest, HandlersCalledDuringTheListingRunAfterItAndInARequestAtOnce) {
  TForm1& f = MakeWith({{'C', DRIVE_FIXED, kFsNtfs, 8 * kGb, 3 * kGb},
                        {'D', DRIVE_FIXED, kFsNtfs, 500 * kGb, 125 * kGb}});
  OnceAtD(f, [&] {
    f.Page2Show();
    f.Page2LabelClick(f.Page2Label03);
  });
  f.Page2Show();
  EXPECT_EQ(log, (Texts{"list", "type C:\\", "fs C:", "type D:\\", "fs D:", "space C", "list",
                        "type C:\\", "fs C:", "type D:\\", "fs D:", "space C", "space D"}));
  EXPECT_EQ(Slots(f)[1], "Drive D: Fixed (NTFS)|D|shown|marked");
  EXPECT_EQ(Slots(f)[2], kDesignSlots[2]);
  EXPECT_EQ(f.DriveChart.Model().title, "Drive D: Fixed (NTFS)");

  // A report runs as a request and reads the page right after each call.
  log.clear();
  f.RunRequest("report", [&] {
    f.Page2Show();
    EXPECT_EQ(f.DriveChart.Model().title, "Drive C: Fixed (NTFS)");
    f.Page2LabelClick(f.Page2Label03);
    EXPECT_EQ(f.Page2Label11.Caption(), "Drive size: 500 Gb");
  });
  EXPECT_EQ(log, (Texts{"list", "type C:\\", "fs C:", "type D:\\", "fs D:", "space C", "space D"}));
}

}  // namespace
}  // namespace orv
