#include "pages/DriveText.h"

#include <algorithm>
#include <vector>

#include "base/TextRules.h"

namespace orv {

namespace {

constexpr double kBytesPerGb = 1073741824.0;  // 2 to the 30th

// Sizes of the raw reads: 512 x k for k = 1 to 9; the ninth never counts.
constexpr std::uint32_t kRawReadUnit = 512;
constexpr std::uint32_t kRawReadLimit = 9;

}  // namespace

std::uint8_t FsKindFromVolumeName(std::string_view fsName) {
  if (fsName == "FAT") return kFsFat16;
  if (fsName == "FAT32") return kFsFat32;
  if (fsName == "NTFS") return kFsNtfs;
  return kFsNone;
}

std::uint8_t FsKindFromFirstSector(const unsigned char* sector, std::size_t size) {
  std::string text;
  for (std::size_t i = 0; i < std::min<std::size_t>(size, 4); ++i) {
    if (sector[i] > 30) text.push_back(static_cast<char>(sector[i]));
  }
  std::uint8_t kind = kFsNone;
  if (text.find("FAT") != std::string::npos) kind = kFsFat16;
  if (text.find("FAT32") != std::string::npos) kind = kFsFat32;
  if (text.find("NTFS") != std::string::npos) kind = kFsNtfs;
  return kind;
}

std::uint8_t ProbeRawFsKind(const FirstSectorReader& read, std::uint32_t& rawSectorSize) {
  std::vector<unsigned char> buffer;
  std::uint32_t k = 1;
  for (;; ++k) {
    rawSectorSize = kRawReadUnit * k;
    buffer.assign(rawSectorSize, 0);
    if (read(buffer.data(), rawSectorSize) || k == kRawReadLimit) break;
  }
  if (k == kRawReadLimit) return kFsNone;
  return FsKindFromFirstSector(buffer.data(), buffer.size());
}

std::uint8_t DecideFsKind(const std::string& drive,
                          const std::function<std::string(const std::string& root)>& volumeFsName,
                          const FirstSectorReader& read, std::uint32_t& rawSectorSize) {
  if (drive.empty()) return kFsNone;
  const std::uint8_t named = FsKindFromVolumeName(volumeFsName(WithTrailingBackslash(drive)));
  if (named != kFsNone) return named;
  return ProbeRawFsKind(read, rawSectorSize);
}

std::string FsKindSuffix(std::uint8_t kind) {
  switch (kind) {
    case kFsFat16:
      return "(FAT16)";
    case kFsFat32:
      return "(FAT32)";
    case kFsNtfs:
      return "(NTFS)";
    default:
      return "";
  }
}

std::string DriveRowText(char letter, bool fixed, std::uint8_t kind, const LookupFn& lookup) {
  std::string row = lookup("Drives", "Drive", "Drive") + ' ' + letter + ": ";
  row += fixed ? lookup("Drives", "Fixed", "Fixed") : lookup("Drives", "Removable", "Removable");
  row += ' ';
  if (fixed) row += FsKindSuffix(kind);
  return row;
}

std::vector<DriveRow> ListDriveRows(const DriveListQueries& queries, const LookupFn& lookup,
                                    std::uint8_t& fsKind) {
  std::vector<DriveRow> rows;
  const std::uint32_t mask = queries.logicalDrives();
  int counter = 1;
  for (int i = 0; i < 26; ++i) {
    queries.processMessages();
    // Drive A is never examined: probing a floppy drive is slow and noisy.
    if (i == 0 || (mask & (std::uint32_t{1} << i)) == 0) continue;
    const char letter = static_cast<char>('A' + i);
    const std::string drive{letter, ':'};
    const unsigned type = queries.driveType(drive + '\\');
    const bool fixed = type == kDriveTypeFixed;
    if (type == kDriveTypeRemovable || fixed) fsKind = queries.fsKind(drive);
    if (fsKind == kFsNone) continue;
    ++counter;
    const int slot = counter - 1;
    if (slot > kDriveSlots) continue;  // examined, not shown
    rows.push_back({slot, letter, fixed, fsKind, DriveRowText(letter, fixed, fsKind, lookup)});
  }
  return rows;
}

DriveFigures ComputeDriveFigures(std::int64_t size, std::int64_t free, const LookupFn& lookup) {
  DriveFigures f;
  // Whole numbers while they fit, so halves such as 62.5 % stay exact; floating point beyond.
  std::int64_t usedBytes = 0;
  const bool usedFits = !__builtin_sub_overflow(size, free, &usedBytes);
  const double used = usedFits ? static_cast<double>(usedBytes)
                               : static_cast<double>(size) - static_cast<double>(free);
  if (size > 0) {
    std::int64_t hundredfold = 0;
    const double numerator = usedFits && !__builtin_mul_overflow(usedBytes, 100, &hundredfold)
                                 ? static_cast<double>(hundredfold)
                                 : used * 100.0;
    const std::int64_t percent = RoundHalfEven(numerator / static_cast<double>(size));
    // Free space above the size (the query does not forbid it) must not give a negative slice.
    f.usedPercent = static_cast<std::int32_t>(std::clamp<std::int64_t>(percent, 0, 100));
  }
  f.sizeGb = RoundHalfEven(static_cast<double>(size) / kBytesPerGb);
  f.usedGb = RoundHalfEven(used / kBytesPerGb);
  f.freeGb = RoundHalfEven(static_cast<double>(free) / kBytesPerGb);

  f.sizeText = lookup("Drives", "Size", "Drive size") + ": " + std::to_string(f.sizeGb) + " Gb";
  const std::string usedWord = lookup("Drives", "Used", "Used");
  f.usedText =
      usedWord + ": " + std::to_string(f.usedGb) + " Gb (" + std::to_string(f.usedPercent) + " %)";
  const std::string freeWord = lookup("Drives", "Free", "Free");
  f.freeText = freeWord + ": " + std::to_string(f.freeGb) + " Gb (" +
               std::to_string(100 - f.usedPercent) + " %)";
  f.slices[0] = {static_cast<double>(100 - f.usedPercent), freeWord, kFreeSliceColor};
  f.slices[1] = {static_cast<double>(f.usedPercent), usedWord, kUsedSliceColor};
  return f;
}

}  // namespace orv
