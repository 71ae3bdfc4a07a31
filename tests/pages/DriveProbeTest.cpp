#include "pages/DriveProbe.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <string>

#include "tests/pages/FakeLookup.h"
#include "tests/support/HandleProbe.h"
#include "tests/support/PageTest.h"
#include "tests/support/WinTestTools.h"

namespace orv {
namespace {

// Wine's own record of drive types, kept in the 64-bit registry view only.
constexpr char kWineDrives[] = "HKLM\\Software\\Wine\\Drives";

using test::FakeLookup;
using test::KnownFsNamed;
using test::VolumeFsName;

TEST(DriveProbe, FileSystemOfTheFixedDrivesAgreesWithTheSystem) {
  const test::WmicDisks wmic = test::RunWmicLogicalDisk();
  bool wmicCompared = false;
  for (const char* drive : {"C:", "Z:"}) {
    const std::string root = std::string(drive) + "\\";
    if (GetDriveTypeA(root.c_str()) != DRIVE_FIXED) {
      if (std::string(drive) == "C:") ADD_FAILURE() << "C: is not a fixed drive";
      continue;  // Z: is Wine's view of the Linux root; Windows rarely has it
    }
    const std::uint8_t kind = GetDriveFileSystemKind(drive);
    // Source 1: the volume query itself.
    EXPECT_EQ(kind, KnownFsNamed(VolumeFsName(root)).kind) << drive;
    if (test::RunningOnWine()) {
      EXPECT_EQ(kind, 64) << drive << ": the Wine prefix reports NTFS";
    }
    // Source 2: wmic logicaldisk on the same system.
    if (wmic.empty()) continue;
    ASSERT_TRUE(wmic.count(drive)) << drive << " missing from wmic";
    EXPECT_EQ(wmic.at(drive).at("DriveType"), "3") << drive;
    EXPECT_EQ(kind, KnownFsNamed(wmic.at(drive).at("FileSystem")).kind) << drive;
    wmicCompared = true;
  }
  if (!wmicCompared) GTEST_SKIP() << "wmic gave no output; only the volume query was compared";
}

TEST(DriveProbe, DriveSpaceOfCAndOfAMissingDrive) {
  std::int64_t size = 0, free = 0;
  QueryDriveSpace('C', size, free);
  EXPECT_GT(size, 0);
  EXPECT_GE(free, 0);
  EXPECT_LE(free, size);
  // The cluster counts of the older query describe the same volume.
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  ASSERT_TRUE(GetDiskFreeSpaceA("C:\\", &sectorsPerCluster, &bytesPerSector, &freeClusters,
                                &totalClusters));
  const std::int64_t clusterBytes = std::int64_t{sectorsPerCluster} * bytesPerSector;
  if (totalClusters != 0xFFFFFFFFu) {
    EXPECT_EQ(size, clusterBytes * totalClusters);
  }

  // A letter that is not a drive gives -1 and -1.
  if (const char letter = test::FreeLetterFrom('D')) {
    QueryDriveSpace(letter, size, free);
    EXPECT_EQ(size, -1);
    EXPECT_EQ(free, -1);
  }
}

// Runs on Windows only: under Wine it always skips (the reason below).
TEST(DriveProbe, DriveSizeAgreesWithWmic) {
  if (test::RunningOnWine()) {
    GTEST_SKIP() << "Wine 8's wmic computes the Size column differently from "
                    "GetDiskFreeSpaceExA (for this prefix's C: it printed about a third of the "
                    "volume); on Windows both report the volume's total bytes";
  }
  std::int64_t size = 0, free = 0;
  QueryDriveSpace('C', size, free);
  const test::WmicDisks wmic = test::RunWmicLogicalDisk();
  if (!wmic.count("C:") || wmic.at("C:").at("Size").empty()) GTEST_SKIP() << "wmic gave no size";
  EXPECT_EQ(std::to_string(size), wmic.at("C:").at("Size"));
}

TEST(DriveProbe, ProbeRestoresErrorModeAndLeaksNothing) {
  const UINT mine = SEM_NOGPFAULTERRORBOX;
  const UINT before = SetErrorMode(mine);
  const char missing = test::FreeLetterFrom('D');
  ASSERT_NE(missing, 0);
  test::HandleProbe probe;
  GetDriveFileSystemKind("C:");
  EXPECT_EQ(GetDriveFileSystemKind(std::string{missing, ':'}), 0);
  EXPECT_EQ(GetDriveFileSystemKind(""), 0);
  unsigned char buffer[512];
  std::memset(buffer, 0xAB, sizeof buffer);
  EXPECT_FALSE(ReadVolumeSectors(std::string{missing, ':'}, 0, buffer, sizeof buffer));
  EXPECT_TRUE(std::all_of(buffer, buffer + sizeof buffer, [](unsigned char b) { return b == 0; }));
  std::int64_t size = 0, free = 0;
  QueryDriveSpace(missing, size, free);
  EXPECT_TRUE(probe.NothingLeaked());
  EXPECT_EQ(GetErrorMode(), mine);
  SetErrorMode(before);
}

TEST(DriveProbe, RawReadsOfARealVolumeCloseTheirHandle) {
  // Under Wine a drive letter of the prefix reads a file as its raw volume; on Windows C: is read,
  // which needs an administrator.
  std::string drive = "C:";
  std::unique_ptr<test::ScopedWineDrive> wineDrive;
  std::string image;
  const std::string sector0 = "\xEB\x52\x90NTFS    raw volume of the test";
  if (test::RunningOnWine()) {
    const std::string folder = test::UnixFolderOfThisProgram();
    const char letter = test::FreeLetterFrom('R');
    ASSERT_FALSE(folder.empty());
    ASSERT_NE(letter, 0);
    image = "Z:" + folder + "\\raw-volume.img";
    std::replace(image.begin(), image.end(), '/', '\\');
    test::WriteBytes(image, sector0 + std::string(1024 - sector0.size(), '\x11'));
    wineDrive = std::make_unique<test::ScopedWineDrive>(letter, folder, DRIVE_FIXED,
                                                        folder + "/raw-volume.img");
    ASSERT_TRUE(wineDrive->Ok());
    drive = std::string{letter, ':'};
  }
  unsigned char buffer[1024];
  const std::uint32_t sectorSize = RawSectorSize;
  RawSectorSize = 512;
  test::HandleProbe probe;
  const bool read = ReadVolumeSectors(drive, 0, buffer, 512);
  if (!read && !test::RunningOnWine()) {
    RawSectorSize = sectorSize;
    GTEST_SKIP() << "reading the raw volume C: needs an administrator";
  }
  ASSERT_TRUE(read);
  if (!image.empty()) {
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), sector0.size()), sector0);
    // Past the volume's end: nothing, not a part of a sector.
    EXPECT_FALSE(ReadVolumeSectors(drive, 1, buffer, sizeof buffer));
    EXPECT_TRUE(
        std::all_of(buffer, buffer + sizeof buffer, [](unsigned char b) { return b == 0; }));
  }
  GetDriveFileSystemKind(drive);
  EXPECT_EQ(probe.Leaked(), 0);
  RawSectorSize = sectorSize;
  wineDrive.reset();
  if (!image.empty()) DeleteFileA(image.c_str());
}

TEST(DriveProbe, ListingOfThisSystem) {
  FakeLookup lookup;
  int pumps = 0;
  const auto rows = ListDrives(
      PageSources::Real(), [&pumps] { ++pumps; }, lookup.Fn());
  EXPECT_EQ(pumps, 26);
  ASSERT_FALSE(rows.empty());
  const auto c =
      std::find_if(rows.begin(), rows.end(), [](const DriveRow& r) { return r.letter == 'C'; });
  ASSERT_NE(c, rows.end());
  EXPECT_TRUE(c->fixed);
  EXPECT_EQ(c->text, "Drive C: Fixed " + KnownFsNamed(VolumeFsName("C:\\")).suffix);
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].slot, static_cast<int>(i) + 1);
  EXPECT_LE(rows.size(), 9u);
}

// Drives added through Wine's mount manager, as its configuration tool adds them: each is listed
// as removable, a CD-ROM always and another removable drive only when its file system is known,
// and each is gone, link and registry entry included, when the test removes it.
TEST(DriveProbe, DrivesAddedToThePrefixAreListedAsRemovable) {
  if (!test::RunningOnWine()) GTEST_SKIP() << "adds drive letters through Wine's mount manager";
  const struct {
    const char* why;
    ULONG type;
    const char* registryType;
    bool listedWithoutKind;
  } kCases[] = {
      {"a CD-ROM after C: (NTFS)", DRIVE_CDROM, "cdrom", true},
      {"a floppy drive", DRIVE_REMOVABLE, "floppy", false},
  };
  const std::string target = test::UnixFolderOfThisProgram();
  ASSERT_FALSE(target.empty());
  for (const auto& c : kCases) {
    const char letter = test::FreeLetterFrom('M');
    ASSERT_NE(letter, 0) << c.why;
    const std::string lower{static_cast<char>(std::tolower(letter)), ':'};
    const std::string driveText{letter, ':'};
    {
      test::ScopedWineDrive drive(letter, target, c.type);
      ASSERT_TRUE(drive.Ok()) << c.why;
      EXPECT_TRUE(test::DosDeviceLinkExists(letter)) << c.why;
      EXPECT_EQ(test::RegQueryValue(kWineDrives, lower, "/reg:64"), c.registryType) << c.why;
      ASSERT_EQ(GetDriveTypeA((driveText + "\\").c_str()), static_cast<UINT>(c.type)) << c.why;
      // The volume's own name decides, else the raw probe, and the raw volume of a folder-backed
      // drive gives no FAT or NTFS signature.
      const std::uint8_t kind = GetDriveFileSystemKind(driveText);
      EXPECT_EQ(kind, KnownFsNamed(VolumeFsName(driveText + "\\")).kind) << c.why;

      FakeLookup lookup;
      DriveFsKind = 0;
      const auto rows = ListDrives(PageSources::Real(), {}, lookup.Fn());
      const auto row = std::find_if(rows.begin(), rows.end(),
                                    [letter](const DriveRow& r) { return r.letter == letter; });
      if (!c.listedWithoutKind && kind == 0) {
        EXPECT_EQ(row, rows.end()) << c.why;
      } else {
        ASSERT_NE(row, rows.end()) << c.why;
        EXPECT_FALSE(row->fixed) << c.why;
        EXPECT_EQ(row->text, std::string("Drive ") + letter + ": Removable ") << c.why;
        EXPECT_EQ(DriveFsKind, 64) << c.why << ": the last drive examined is Z: (NTFS)";
      }
    }
    EXPECT_FALSE(GetLogicalDrives() & (1u << (letter - 'A'))) << c.why << ": the drive was removed";
    EXPECT_FALSE(test::DosDeviceLinkExists(letter)) << c.why;
    EXPECT_EQ(test::RegQueryValue(kWineDrives, lower, "/reg:64"), "(missing)") << c.why;
  }
}

}  // namespace
}  // namespace orv
