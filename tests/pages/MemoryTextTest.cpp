#include "pages/MemoryText.h"

#include <gtest/gtest.h>

#include "tests/pages/FakeLookup.h"

namespace orv {
namespace {

using test::FakeLookup;

constexpr std::uint64_t kMb = 1048576;

TEST(MemoryText, MegabytesRoundHalfToEven) {
  EXPECT_EQ(RoundedMegabytes(512 * kMb + kMb / 2), 512);
  EXPECT_EQ(RoundedMegabytes(513 * kMb + kMb / 2), 514);
  EXPECT_EQ(RoundedMegabytes(4294967296ull), 4096);
  EXPECT_EQ(RoundedMegabytes(kMb / 2 + 1), 1);
  EXPECT_EQ(RoundedMegabytes(0), 0);
  EXPECT_EQ(RoundedMegabytes(UINT64_MAX), 17592186044416);
}

TEST(MemoryText, RowsForLoadsZeroAndHundred) {
  FakeLookup lookup;
  MemoryTexts t = ComputeMemoryTexts(0, 4096 * kMb, 8388608 * kMb, lookup.Fn());
  EXPECT_EQ(t.sizeText, "Memory size: 4096 Mb");
  EXPECT_EQ(t.usageText, "Used: 0 % , Free: 100 %");
  EXPECT_EQ(t.virtualText, "Virtual memory: 8388608 Mb");
  EXPECT_EQ(t.chartTitle, "Memory usage");
  EXPECT_EQ(test::SliceText(t.slices[0]), "Free 100 green");
  EXPECT_EQ(test::SliceText(t.slices[1]), "Used 0 blue");

  // A load past 100 (no real system gives one) counts as 100, never as a negative Free.
  for (const std::uint8_t load : {std::uint8_t{100}, std::uint8_t{101}, std::uint8_t{255}}) {
    t = ComputeMemoryTexts(load, 0, 0, lookup.Fn());
    EXPECT_EQ(t.usageText, "Used: 100 % , Free: 0 %") << int{load};
    EXPECT_EQ(t.sizeText, "Memory size: 0 Mb");
    EXPECT_EQ(t.slices[0].value, 0);
    EXPECT_EQ(t.slices[1].value, 100);
  }
}

TEST(MemoryText, TranslatedWordsReachRowsAndSlices) {
  FakeLookup lookup({{{"Drives", "Used"}, "Occup\xE9"},
                     {{"Drives", "Free"}, "Libre"},
                     {{"Memory", "Size"}, "Taille"},
                     {{"Memory", "Virtual"}, "Virtuelle"},
                     {{"Memory", "Usage"}, "Utilisation"},
                     {{"Memory", "Processes"}, "Processus"}});
  const MemoryTexts t = ComputeMemoryTexts(37, 1536 * kMb, 2048 * kMb, lookup.Fn());
  EXPECT_EQ(t.sizeText, "Taille: 1536 Mb");
  EXPECT_EQ(t.usageText, "Occup\xE9: 37 % , Libre: 63 %");
  EXPECT_EQ(t.virtualText, "Virtuelle: 2048 Mb");
  EXPECT_EQ(t.chartTitle, "Utilisation");
  EXPECT_EQ(t.slices[0].label, "Libre");
  EXPECT_EQ(t.slices[1].label, "Occup\xE9");
  EXPECT_EQ(ProcessCountText(42, lookup.Fn()), "Processus: 42");
  FakeLookup english;
  EXPECT_EQ(ProcessCountText(0, english.Fn()), "Processes: 0");
}

}  // namespace
}  // namespace orv
