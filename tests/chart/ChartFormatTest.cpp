#include "chart/ChartFormat.h"

#include <gtest/gtest.h>

#include <limits>

namespace orv {
namespace {

TEST(FormatChartValueTest, WritesGroupsAndAtMostThreeDecimals) {
  EXPECT_EQ(FormatChartValue(0.5), "0.5");
  EXPECT_EQ(FormatChartValue(1234.5678), "1,234.568");
  EXPECT_EQ(FormatChartValue(37), "37");
  EXPECT_EQ(FormatChartValue(100), "100");
  EXPECT_EQ(FormatChartValue(999), "999");
  EXPECT_EQ(FormatChartValue(1000), "1,000");
  EXPECT_EQ(FormatChartValue(12.3), "12.3");
  EXPECT_EQ(FormatChartValue(0.125), "0.125");
  EXPECT_EQ(FormatChartValue(123456789012.0), "123,456,789,012");
  EXPECT_EQ(FormatChartValue(1e15), "1,000,000,000,000,000");
  EXPECT_EQ(FormatChartValue(1e20), "100,000,000,000,000,000,000");
  // A binary fraction such as 0.1 + 0.2 is written as the reader expects it.
  EXPECT_EQ(FormatChartValue(0.1 + 0.2), "0.3");
}

TEST(FormatChartValueTest, RoundsTheFourthDecimalHalfAwayFromZero) {
  // A carry runs through the integer digits and may add a group (999.9995, 999999.9999, 0.9996).
  const std::pair<double, const char*> cases[] = {
      {0.0004, "0"},     {0.0005, "0.001"}, {1.0005, "1.001"},   {2.0004, "2"},
      {1.2344, "1.234"}, {1.2345, "1.235"}, {999.9995, "1,000"}, {999999.9999, "1,000,000"},
      {0.9996, "1"},     {1e-9, "0"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatChartValue(value), text) << value;
}

TEST(FormatChartValueTest, ZeroAndNegativeValues) {
  // Rounded away to nothing (-0.0004): no "-0".
  const std::pair<double, const char*> cases[] = {
      {0, "0"}, {-0.0, "0"}, {-1234, "-1,234"}, {-0.5, "-0.5"}, {-1.0005, "-1.001"}, {-0.0004, "0"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatChartValue(value), text) << value;
}

TEST(FormatChartValueTest, ValuesThatAreNotNumbersDoNotBreakIt) {
  EXPECT_EQ(FormatChartValue(std::numeric_limits<double>::quiet_NaN()), "NaN");
  EXPECT_EQ(FormatChartValue(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FormatChartValue(-std::numeric_limits<double>::infinity()), "-INF");
  const std::string huge = FormatChartValue(std::numeric_limits<double>::max());
  EXPECT_EQ(huge.substr(0, 7), "179,769");
  EXPECT_EQ(huge.size(), 309u + 102u);  // 309 digits and a comma before each later group of three
  EXPECT_EQ(FormatChartValue(std::numeric_limits<double>::denorm_min()), "0");
}

TEST(MarkTextTest, LabelValueOrBoth) {
  EXPECT_EQ(MarkText("Free", 25, false), "Free");
  EXPECT_EQ(MarkText("Free", 37, true), "Free 37");
  EXPECT_EQ(MarkText("Used", 1234.5, true), "Used 1,234.5");
  // A slice without a label shows its value, whichever marks are chosen.
  EXPECT_EQ(MarkText("", 62.5, false), "62.5");
  EXPECT_EQ(MarkText("", 62.5, true), "62.5");
}

}  // namespace
}  // namespace orv
