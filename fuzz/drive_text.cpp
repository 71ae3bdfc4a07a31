// The Drives page's rules on anything the system may report: file-system names, first sectors,
// raw reads that fail at any size, any drive mask and types, and any space figures.
#include <cstdint>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "pages/DriveText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const orv::LookupFn lookup = orv::fuzz::TranslatedLookup(in.ConsumeRandomLengthString(16));
  const std::int64_t total = in.ConsumeIntegral<std::int64_t>();
  const std::int64_t free = in.ConsumeIntegral<std::int64_t>();
  const orv::DriveFigures figures = orv::ComputeDriveFigures(total, free, lookup);
  orv::fuzz::Require(figures.usedPercent >= 0 && figures.usedPercent <= 100,
                     "the used share is a percentage");
  orv::fuzz::Require(figures.slices[0].value + figures.slices[1].value == 100,
                     "the slices make a whole");

  const std::uint32_t mask = in.ConsumeIntegral<std::uint32_t>();
  std::vector<unsigned> types(26);
  for (unsigned& type : types) type = in.ConsumeIntegralInRange<unsigned>(0, 6);
  const std::string volumeName = in.ConsumeRandomLengthString(8);
  const std::uint32_t readsThatFail = in.ConsumeIntegralInRange<std::uint32_t>(0, 10);
  const std::vector<std::uint8_t> sector = in.ConsumeBytes<std::uint8_t>(4096);

  std::uint32_t rawSectorSize = 0;
  std::uint32_t reads = 0;
  const orv::FirstSectorReader read = [&](unsigned char* buffer, std::uint32_t count) {
    if (++reads <= readsThatFail) return false;
    for (std::uint32_t i = 0; i < count && i < sector.size(); ++i) buffer[i] = sector[i];
    return true;
  };
  orv::DriveListQueries queries{
      [&] { return mask; },
      [&](const std::string& root) { return types[static_cast<unsigned char>(root[0]) - 'A']; },
      [&](const std::string& drive) {
        reads = 0;
        return orv::DecideFsKind(
            drive, [&](const std::string&) { return volumeName; }, read, rawSectorSize);
      },
      [] {}};
  std::uint8_t fsKind = in.ConsumeIntegral<std::uint8_t>();
  const std::vector<orv::DriveRow> rows = orv::ListDriveRows(queries, lookup, fsKind);
  orv::fuzz::Require(rows.size() <= orv::kDriveSlots, "at most nine drives are listed");
  orv::fuzz::Require(rawSectorSize <= 9 * 512, "raw reads stop at the ninth size");
  orv::FsKindFromFirstSector(sector.data(), sector.size());
  return 0;
}
