// The Memory page's rows and chart from any figures the system reports.
#include <cstdint>

#include "fuzz/FuzzInput.h"
#include "pages/MemoryText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::uint8_t load = in.ConsumeIntegral<std::uint8_t>();
  const std::uint64_t physical = in.ConsumeIntegral<std::uint64_t>();
  const std::uint64_t virtualBytes = in.ConsumeIntegral<std::uint64_t>();
  const std::size_t processes = in.ConsumeIntegral<std::size_t>();
  const orv::LookupFn lookup = orv::fuzz::TranslatedLookup(in.ConsumeRemainingBytesAsString());
  const orv::MemoryTexts texts = orv::ComputeMemoryTexts(load, physical, virtualBytes, lookup);
  orv::fuzz::Require(texts.slices[0].value >= 0 && texts.slices[1].value >= 0 &&
                         texts.slices[0].value + texts.slices[1].value == 100,
                     "the slices are a whole of two shares");
  orv::fuzz::Require(orv::RoundedMegabytes(physical) >= 0, "a size is never negative");
  orv::ProcessCountText(processes, lookup);
  return 0;
}
