#include "pages/DriveText.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/pages/FakeLookup.h"

namespace orv {
namespace {

using test::FakeLookup;

TEST(DriveFsKind, VolumeNamesAreMatchedExactly) {
  EXPECT_EQ(FsKindFromVolumeName("FAT"), 16);
  EXPECT_EQ(FsKindFromVolumeName("FAT32"), 32);
  EXPECT_EQ(FsKindFromVolumeName("NTFS"), 64);
  for (const char* other : {"", "fat", "ntfs", "FAT12", "exFAT", "CDFS", "NTFS ", " FAT"}) {
    EXPECT_EQ(FsKindFromVolumeName(other), 0) << other;
  }
}

TEST(DriveFsKind, FirstSectorLooksAtFourBytesAboveCode30) {
  const struct {
    const char* why;
    std::string bytes;
    int kind;
  } cases[] = {
      {"NTFS", "NTFS", 64},
      {"FAT and any fourth byte", "FATx", 16},
      {"codes of 30 and below are dropped", "\001FAT", 16},
      {"only the first four bytes count", "\036NTFS", 0},
      {"a code inside", "N\x05TFS", 0},
      {"a dropped code inside joins the name", "F\005AT", 16},
      {"code 31 is kept", "\x1FNTFS", 0},
      {"code 31, then 30", "\x1F\x1ENTFS", 0},
      {"a real NTFS boot sector names itself at offset 3", "\xEB\x52\x90NTFS    ", 0},
      {"a real FAT boot sector", "\xEB\x58\x90MSDOS5.0", 0},
      {"\"FAT32\" needs five characters and is never found in four", "FAT32", 16},
  };
  for (const auto& c : cases) {
    std::string sector = c.bytes;
    sector.resize(512, '\0');
    EXPECT_EQ(FsKindFromFirstSector(reinterpret_cast<const unsigned char*>(sector.data()), 512),
              c.kind)
        << c.why;
  }
  const unsigned char shortBuffer[] = {'N', 'T'};
  EXPECT_EQ(FsKindFromFirstSector(shortBuffer, 2), 0);
}

// A raw volume that accepts reads of exactly one size and holds the given first bytes.
struct FakeVolume {
  std::uint32_t acceptedSize = 0;
  std::string firstBytes;
  std::vector<std::uint32_t> tried = {};
  std::uint32_t rawSize = 0;  // the read size the probe settled on

  FirstSectorReader Reader() {
    return [this](unsigned char* buffer, std::uint32_t count) {
      tried.push_back(count);
      for (std::uint32_t i = 0; i < count; ++i) EXPECT_EQ(buffer[i], 0) << "buffer not zeroed";
      if (count != acceptedSize) return false;
      for (std::size_t i = 0; i < firstBytes.size() && i < count; ++i) buffer[i] = firstBytes[i];
      return true;
    };
  }
};

TEST(DriveFsKind, RawProbeTriesSizesFrom512To4608) {
  FakeVolume volume{2048, "NTFS"};
  EXPECT_EQ(ProbeRawFsKind(volume.Reader(), volume.rawSize), 64);
  EXPECT_EQ(volume.tried, (std::vector<std::uint32_t>{512, 1024, 1536, 2048}));
  EXPECT_EQ(volume.rawSize, 2048u);

  FakeVolume at4096{4096, "FAT "};
  EXPECT_EQ(ProbeRawFsKind(at4096.Reader(), at4096.rawSize), 16);
  EXPECT_EQ(at4096.rawSize, 4096u);
}

TEST(DriveFsKind, RawProbeIgnoresTheNinthRead) {
  FakeVolume ninth{4608, "NTFS"};
  EXPECT_EQ(ProbeRawFsKind(ninth.Reader(), ninth.rawSize), 0);
  EXPECT_EQ(ninth.tried.size(), 9u);
  EXPECT_EQ(ninth.rawSize, 4608u);

  FakeVolume unreadable{0, ""};
  EXPECT_EQ(ProbeRawFsKind(unreadable.Reader(), unreadable.rawSize), 0);
  EXPECT_EQ(unreadable.tried.size(), 9u);
}

TEST(DriveFsKind, VolumeNameFirstThenRawProbe) {
  std::uint32_t rawSize = 7;
  std::vector<std::string> roots;
  auto named = [&roots](std::string fs) {
    return [&roots, fs](const std::string& root) {
      roots.push_back(root);
      return fs;
    };
  };
  FakeVolume volume{512, "NTFS"};
  EXPECT_EQ(DecideFsKind("C:", named("FAT32"), volume.Reader(), rawSize), 32);
  EXPECT_TRUE(volume.tried.empty());
  EXPECT_EQ(rawSize, 7u);
  EXPECT_EQ(roots, (std::vector<std::string>{"C:\\"}));

  EXPECT_EQ(DecideFsKind("D:\\", named("exFAT"), volume.Reader(), rawSize), 64);
  EXPECT_EQ(roots.back(), "D:\\");  // no second backslash
  EXPECT_EQ(volume.tried.size(), 1u);

  EXPECT_EQ(DecideFsKind("", named("NTFS"), volume.Reader(), rawSize), 0);
  EXPECT_EQ(roots.size(), 2u);
}

TEST(DriveRowText, DefaultAndTranslatedWords) {
  FakeLookup english;
  EXPECT_EQ(DriveRowText('C', true, 64, english.Fn()), "Drive C: Fixed (NTFS)");
  EXPECT_EQ(DriveRowText('F', true, 16, english.Fn()), "Drive F: Fixed (FAT16)");
  EXPECT_EQ(DriveRowText('G', true, 32, english.Fn()), "Drive G: Fixed (FAT32)");
  EXPECT_EQ(DriveRowText('E', false, 32, english.Fn()), "Drive E: Removable ");

  FakeLookup german({{{"Drives", "Drive"}, "Laufwerk"},
                     {{"Drives", "Fixed"}, "Festplatte"},
                     {{"Drives", "Removable"}, "Wechseldatentr\xE4ger"}});
  EXPECT_EQ(DriveRowText('C', true, 64, german.Fn()), "Laufwerk C: Festplatte (NTFS)");
  EXPECT_EQ(DriveRowText('D', false, 64, german.Fn()), "Laufwerk D: Wechseldatentr\xE4ger ");
  // Only the word the row needs is looked up.
  EXPECT_EQ(german.asked, (std::vector<std::string>{"Drives/Drive", "Drives/Fixed", "Drives/Drive",
                                                    "Drives/Removable"}));
}

// A machine of fake drives: letter -> (GetDriveTypeA type, file-system kind).
struct FakeDrives {
  explicit FakeDrives(std::map<char, std::pair<unsigned, std::uint8_t>> fake)
      : drives(std::move(fake)) {}

  // The listing's rows as "<slot> <letter> fixed|removable <kind> <text>".
  std::vector<std::string> List() {
    DriveListQueries q;
    q.logicalDrives = [this] {
      std::uint32_t mask = 0;
      for (const auto& [letter, info] : drives) mask |= 1u << (letter - 'A');
      return mask;
    };
    q.driveType = [this](const std::string& root) {
      typeAsked.push_back(root);
      return drives.at(root[0]).first;
    };
    q.fsKind = [this](const std::string& drive) {
      kindAsked.push_back(drive);
      return drives.at(drive[0]).second;
    };
    q.processMessages = [this] { ++messagePumps; };
    FakeLookup lookup;
    std::vector<std::string> rows;
    for (const DriveRow& r : ListDriveRows(q, lookup.Fn(), fsKind)) {
      rows.push_back(std::to_string(r.slot) + " " + r.letter +
                     (r.fixed ? " fixed " : " removable ") + std::to_string(r.kind) + " " + r.text);
    }
    return rows;
  }

  std::map<char, std::pair<unsigned, std::uint8_t>> drives;
  std::uint8_t fsKind = 0;  // the program-wide kind, carried from drive to drive
  std::vector<std::string> typeAsked;
  std::vector<std::string> kindAsked;
  int messagePumps = 0;
};

using Rows = std::vector<std::string>;
constexpr unsigned kCdRom = 5;

TEST(ListDriveRows, FixedCdRomAndRemovable) {
  FakeDrives fake({{'C', {3, 64}}, {'D', {kCdRom, 0}}, {'E', {2, 32}}});
  EXPECT_EQ(fake.List(), (Rows{"1 C fixed 64 Drive C: Fixed (NTFS)",
                               "2 D removable 64 Drive D: Removable ",  // C:'s kind carried
                               "3 E removable 32 Drive E: Removable "}));
  EXPECT_EQ(fake.fsKind, 32);
  EXPECT_EQ(fake.messagePumps, 26);
  EXPECT_EQ(fake.typeAsked, (Rows{"C:\\", "D:\\", "E:\\"}));
  EXPECT_EQ(fake.kindAsked, (Rows{"C:", "E:"}));  // never the CD-ROM
}

TEST(ListDriveRows, GapsAndDriveAAreSkipped) {
  FakeDrives fake({{'A', {2, 16}}, {'C', {3, 64}}, {'E', {3, 64}}});
  EXPECT_EQ(fake.List(),
            (Rows{"1 C fixed 64 Drive C: Fixed (NTFS)", "2 E fixed 64 Drive E: Fixed (NTFS)"}));
  EXPECT_EQ(fake.typeAsked.front(), "C:\\");  // A: is never asked
}

TEST(ListDriveRows, RemovableDriveBComesFirst) {
  FakeDrives fake({{'B', {2, 16}}, {'C', {3, 64}}});
  // The first slot has no figures.
  EXPECT_EQ(fake.List(),
            (Rows{"1 B removable 16 Drive B: Removable ", "2 C fixed 64 Drive C: Fixed (NTFS)"}));
}

TEST(ListDriveRows, NineShownAllExamined) {
  std::map<char, std::pair<unsigned, std::uint8_t>> drives;
  for (char c = 'C'; c <= 'M'; ++c) drives[c] = {3, 64};  // eleven fixed drives
  FakeDrives fake(drives);
  const Rows rows = fake.List();
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows.back(), "9 K fixed 64 Drive K: Fixed (NTFS)");
  EXPECT_EQ(fake.kindAsked.size(), 11u);
  EXPECT_EQ(fake.kindAsked.back(), "M:");
}

TEST(ListDriveRows, KindCarriesOverBetweenDrivesAndListings) {
  // An unknown file system on a fixed drive resets the carried kind; a network drive after it is
  // then left out, and so is one at the start of a listing when nothing known came before.
  constexpr unsigned kNetwork = 4;
  FakeDrives fake({{'C', {3, 64}}, {'D', {3, 0}}, {'E', {kNetwork, 0}}, {'F', {kCdRom, 0}}});
  EXPECT_EQ(fake.List(), (Rows{"1 C fixed 64 Drive C: Fixed (NTFS)"}));
  EXPECT_EQ(fake.fsKind, 0);

  FakeDrives cdOnly({{'D', {kCdRom, 0}}});
  EXPECT_TRUE(cdOnly.List().empty());
  // The program-wide kind survives between listings: after an NTFS drive was seen, the same
  // CD-ROM alone is listed.
  cdOnly.fsKind = 64;
  EXPECT_EQ(cdOnly.List(), (Rows{"1 D removable 64 Drive D: Removable "}));
}

constexpr std::int64_t kGb = 1073741824;

// The three rows and the two slices (free, then used) as the user sees them.
Rows Shown(const DriveFigures& f) {
  return {f.sizeText, f.usedText, f.freeText, test::SliceText(f.slices[0]),
          test::SliceText(f.slices[1])};
}

TEST(DriveFigures, FiveHundredGigabyteExample) {
  FakeLookup lookup;
  EXPECT_EQ(Shown(ComputeDriveFigures(500 * kGb, 125 * kGb, lookup.Fn())),
            (Rows{"Drive size: 500 Gb", "Used: 375 Gb (75 %)", "Free: 125 Gb (25 %)",
                  "Free 25 green", "Used 75 blue"}));
}

TEST(DriveFigures, HalvesRoundToEven) {
  FakeLookup lookup;
  // 62.5 % used: 62 % and 38 %; sizes of 2.5 and 1.5 Gb round to 2 both.
  DriveFigures f = ComputeDriveFigures(16 * kGb, 6 * kGb, lookup.Fn());
  EXPECT_EQ(f.usedPercent, 62);
  EXPECT_EQ(f.usedText, "Used: 10 Gb (62 %)");
  EXPECT_EQ(f.freeText, "Free: 6 Gb (38 %)");
  f = ComputeDriveFigures(4 * kGb, kGb + kGb / 2, lookup.Fn());  // 62.5 % again, 2.5 / 1.5 Gb
  EXPECT_EQ(f.usedText, "Used: 2 Gb (62 %)");
  EXPECT_EQ(f.freeText, "Free: 2 Gb (38 %)");
  f = ComputeDriveFigures(8 * kGb, 5 * kGb, lookup.Fn());  // 37.5 % -> 38 %
  EXPECT_EQ(f.usedPercent, 38);
}

TEST(DriveFigures, EmptyAndFailedQueriesShowZero) {
  FakeLookup lookup;
  for (auto [size, free] : {std::pair<std::int64_t, std::int64_t>{0, 0}, {-1, -1}}) {
    EXPECT_EQ(Shown(ComputeDriveFigures(size, free, lookup.Fn())),
              (Rows{"Drive size: 0 Gb", "Used: 0 Gb (0 %)", "Free: 0 Gb (100 %)", "Free 100 green",
                    "Used 0 blue"}))
        << size << " / " << free;
  }
}

TEST(DriveFigures, ExtremeFiguresStayInRange) {
  FakeLookup lookup;
  DriveFigures f = ComputeDriveFigures(kGb, 2 * kGb, lookup.Fn());  // more free than size
  EXPECT_EQ(f.usedPercent, 0);
  EXPECT_EQ(f.usedText, "Used: -1 Gb (0 %)");
  const std::int64_t huge = INT64_MAX;
  f = ComputeDriveFigures(huge, huge / 4, lookup.Fn());
  EXPECT_EQ(f.usedPercent, 75);
  f = ComputeDriveFigures(huge, -huge, lookup.Fn());  // used overflows 64 bits
  EXPECT_EQ(f.usedPercent, 100);
}

TEST(DriveFigures, TranslatedWordsFeedLabelsAndSlices) {
  FakeLookup lookup({{{"Drives", "Size"}, "Gr\366\337e"},
                     {{"Drives", "Used"}, "Belegt"},
                     {{"Drives", "Free"}, "Frei"}});
  EXPECT_EQ(Shown(ComputeDriveFigures(500 * kGb, 125 * kGb, lookup.Fn())),
            (Rows{"Gr\366\337e: 500 Gb", "Belegt: 375 Gb (75 %)", "Frei: 125 Gb (25 %)",
                  "Frei 25 green", "Belegt 75 blue"}));
}

}  // namespace
}  // namespace orv
