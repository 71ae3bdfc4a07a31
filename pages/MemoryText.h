// The Memory page without its window: the three figure rows, the chart's title and slices, and the
// process-count row. Platform-neutral; the figures come from sysinfo, the process lines from
// ProcessList.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "pages/DriveText.h"

namespace orv {

// Bytes to megabytes of 1048576 bytes, divided in floating point and rounded half to even
// (512.5 -> 512, 513.5 -> 514).
std::int64_t RoundedMegabytes(std::uint64_t bytes);

struct MemoryTexts {
  std::string sizeText;              // Page3Label01: "Memory size: 4096 Mb"
  std::string usageText;             // Page3Label02: "Used: 37 % , Free: 63 %"
  std::string virtualText;           // Page3Label03: "Virtual memory: 8388608 Mb"
  std::string chartTitle;            // "Memory usage"
  std::array<ChartSlice, 2> slices;  // free (green) first, then used (blue)
};

// load is the memory load in percent; physical and virtual sizes in bytes.
MemoryTexts ComputeMemoryTexts(std::uint8_t load, std::uint64_t physicalBytes,
                               std::uint64_t virtualBytes, const LookupFn& lookup);

// Page3Label04: "Processes: 42", the number of listed lines.
std::string ProcessCountText(std::size_t count, const LookupFn& lookup);

}  // namespace orv
