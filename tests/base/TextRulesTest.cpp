#include "base/TextRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orv {
namespace {

TEST(TrimControl, RemovesBlanksAndControlCharactersAtBothEnds) {
  EXPECT_EQ(TrimControl("  abc  "), "abc");
  EXPECT_EQ(TrimControl("\t\r\n\x01 a b \x1f"), "a b");
  EXPECT_EQ(TrimControl("    "), "");
  EXPECT_EQ(TrimControl(""), "");
  EXPECT_EQ(TrimControl(std::string_view("\0x\0", 3)), "x");
}

TEST(TrimControl, KeepsCharactersAbove127) { EXPECT_EQ(TrimControl("\xA0\xE9 "), "\xA0\xE9"); }

TEST(UpperAscii, ChangesOnlyAsciiLetters) {
  EXPECT_EQ(UpperAscii("c:\\program files (x86)\\"), "C:\\PROGRAM FILES (X86)\\");
  EXPECT_EQ(UpperAscii("\xE9t\xE9"), "\xE9T\xE9");
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, std::int64_t> cases[] = {
      {62.5, 62}, {37.5, 38}, {512.5, 512}, {513.5, 514}, {0.4999, 0}, {-0.5, 0},
  };
  for (const auto& [value, rounded] : cases) EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}

TEST(RoundHalfEven, NonFiniteAndHugeValuesDoNotOverflow) {
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
  EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::infinity()), 0);
  EXPECT_EQ(RoundHalfEven(1e300), INT64_MAX);
  EXPECT_EQ(RoundHalfEven(-1e300), INT64_MIN);
}

TEST(WithTrailingBackslash, AddsOneOnlyWhenMissing) {
  EXPECT_EQ(WithTrailingBackslash("C:\\Windows"), "C:\\Windows\\");
  EXPECT_EQ(WithTrailingBackslash("C:\\"), "C:\\");
  EXPECT_EQ(WithTrailingBackslash(""), "\\");
}

TEST(UpToNul, CutsAtTheFirstNulOrTakesTheWholeBuffer) {
  const char withNul[] = {'a', 'b', '\0', 'c'};
  EXPECT_EQ(UpToNul(withNul, sizeof withNul), "ab");
  const char without[] = {'a', 'b'};
  EXPECT_EQ(UpToNul(without, sizeof without), "ab");
}

}  // namespace
}  // namespace orv
