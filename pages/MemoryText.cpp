#include "pages/MemoryText.h"

#include <algorithm>

#include "base/TextRules.h"

namespace orv {

std::int64_t RoundedMegabytes(std::uint64_t bytes) {
  return RoundHalfEven(static_cast<double>(bytes) / 1048576.0);
}

MemoryTexts ComputeMemoryTexts(std::uint8_t load, std::uint64_t physicalBytes,
                               std::uint64_t virtualBytes, const LookupFn& lookup) {
  // The system's figure is a percentage; a value past 100 would make Free negative.
  const int used = std::min<int>(load, 100);
  const int free = 100 - used;
  MemoryTexts t;
  t.sizeText = lookup("Memory", "Size", "Memory size") + ": " +
               std::to_string(RoundedMegabytes(physicalBytes)) + " Mb";
  const std::string usedWord = lookup("Drives", "Used", "Used");
  const std::string freeWord = lookup("Drives", "Free", "Free");
  // The blank on both sides of the comma is how the row has always read; reports keep it.
  t.usageText = usedWord + ": " + std::to_string(used) + " % , " + freeWord + ": " +
                std::to_string(free) + " %";
  t.virtualText = lookup("Memory", "Virtual", "Virtual memory") + ": " +
                  std::to_string(RoundedMegabytes(virtualBytes)) + " Mb";
  t.chartTitle = lookup("Memory", "Usage", "Memory usage");
  t.slices[0] = {static_cast<double>(free), freeWord, kFreeSliceColor};
  t.slices[1] = {static_cast<double>(used), usedWord, kUsedSliceColor};
  return t;
}

std::string ProcessCountText(std::size_t count, const LookupFn& lookup) {
  return lookup("Memory", "Processes", "Processes") + ": " + std::to_string(count);
}

}  // namespace orv
