// The Drives page without its window: the file-system rules (volume names and the raw first
// sector), the drive listing with its carried-over file-system kind, the row texts and the figures
// of a chosen drive. Platform-neutral; the Windows queries are passed in (see DriveProbe.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "lang/LookupFn.h"

namespace orv {

// File-system kinds as the program keeps them: 0 none or unknown, 16 FAT, 32 FAT32, 64 NTFS.
inline constexpr std::uint8_t kFsNone = 0;
inline constexpr std::uint8_t kFsFat16 = 16;
inline constexpr std::uint8_t kFsFat32 = 32;
inline constexpr std::uint8_t kFsNtfs = 64;

// Drive types of GetDriveTypeA that the page tells apart.
inline constexpr unsigned kDriveTypeRemovable = 2;
inline constexpr unsigned kDriveTypeFixed = 3;

// At most this many drives are listed (Page2Label02 to Page2Label10).
inline constexpr int kDriveSlots = 9;

// One slice of a page's pie chart. color is a COLORREF (0x00BBGGRR).
struct ChartSlice {
  double value = 0;
  std::string label;
  std::uint32_t color = 0;
};
inline constexpr std::uint32_t kFreeSliceColor = 0x008000;  // green, RGB 0, 128, 0
inline constexpr std::uint32_t kUsedSliceColor = 0xFF0000;  // blue, RGB 0, 0, 255

// The file-system name reported by the volume query: exactly "FAT", "FAT32" or "NTFS"
// (case-sensitive) give 16, 32 or 64; anything else 0 (and leads to the raw probe).
std::uint8_t FsKindFromVolumeName(std::string_view fsName);

// The raw probe's reading of a first sector: the first four bytes (at most `size`), keeping each
// whose code is above 30, then "FAT" -> 16, "FAT32" -> 32, "NTFS" -> 64, a later match winning.
std::uint8_t FsKindFromFirstSector(const unsigned char* sector, std::size_t size);

// Reads `count` bytes of sector 0 of the raw volume into `buffer` (already zero-filled); true when
// the read succeeded.
using FirstSectorReader = std::function<bool(unsigned char* buffer, std::uint32_t count)>;

// The raw probe: tries reads of 512 x k bytes for k = 1, 2, ... and stops at the first that
// succeeds or at k = 9, which gives 0 whatever that read did (sizes 512 to 4096 count).
// rawSectorSize is the program's RawSectorSize, left at the size of the last read.
std::uint8_t ProbeRawFsKind(const FirstSectorReader& read, std::uint32_t& rawSectorSize);

// The whole decision for a drive text such as "C:": empty -> 0; a known volume file-system name;
// otherwise the raw probe. volumeFsName gets the root ("C:\") and returns "" when the query fails.
std::uint8_t DecideFsKind(const std::string& drive,
                          const std::function<std::string(const std::string& root)>& volumeFsName,
                          const FirstSectorReader& read, std::uint32_t& rawSectorSize);

// "(FAT16)", "(FAT32)", "(NTFS)", or "" for any other kind.
std::string FsKindSuffix(std::uint8_t kind);

// A drive row: "Drive C: Fixed (NTFS)", or for any other drive "Drive E: Removable " (with its
// trailing space), the words from section "Drives".
std::string DriveRowText(char letter, bool fixed, std::uint8_t kind, const LookupFn& lookup);

// One listed drive, in slot order (slot 1 is Page2Label02).
struct DriveRow {
  int slot = 0;
  char letter = 0;
  bool fixed = false;  // fixed drives carry the clickable mark and have figures
  std::uint8_t kind = 0;
  std::string text;
};

// What the listing asks of the system.
struct DriveListQueries {
  std::function<std::uint32_t()> logicalDrives;                  // bit 0 is A
  std::function<unsigned(const std::string& root)> driveType;    // root "C:\"
  std::function<std::uint8_t(const std::string& drive)> fsKind;  // drive "C:"
  std::function<void()> processMessages;                         // once per letter A to Z
};

// The listing: letters B to Z in order (A is never examined). A removable or fixed drive replaces
// fsKind (the program's DriveFsKind) with its own kind; a drive of any other type keeps the value
// carried over from the drive examined before it, even in an earlier listing. A drive is listed
// when fsKind is non-zero at that point; so a CD-ROM after an NTFS drive is listed as removable.
// Every drive is examined; only the first nine listed are returned.
std::vector<DriveRow> ListDriveRows(const DriveListQueries& queries, const LookupFn& lookup,
                                    std::uint8_t& fsKind);

// The figures of a chosen drive from its total and available bytes (-1 each when the space query
// failed): gigabytes and the used percentage rounded half to even, the three label texts and the
// two chart slices (free first, then used). A size of 0 (or a failed query) shows 0 % used.
struct DriveFigures {
  std::int64_t sizeGb = 0;
  std::int64_t usedGb = 0;
  std::int64_t freeGb = 0;
  std::int32_t usedPercent = 0;
  std::string sizeText;  // Page2Label11: "Drive size: 500 Gb"
  std::string usedText;  // Page2Label12: "Used: 375 Gb (75 %)"
  std::string freeText;  // Page2Label13: "Free: 125 Gb (25 %)"
  std::array<ChartSlice, 2> slices;
};
DriveFigures ComputeDriveFigures(std::int64_t size, std::int64_t free, const LookupFn& lookup);

}  // namespace orv
