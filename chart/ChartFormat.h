// Texts the pie chart shows in its marks: the number format of the values and the mark caption of
// a slice. Platform-neutral, so the host build tests it.
#pragma once

#include <string>

namespace orv {

// Writes a value with the pattern "#,##0.###": "," between groups of three integer digits, at
// most three decimals (the fourth rounded, halves away from zero), no trailing zeros and at least
// one integer digit. 0.5 -> "0.5", 1234.5678 -> "1,234.568", 37 -> "37", -1234 -> "-1,234".
// The value is taken at 15 significant digits first, so 1.0005 rounds as written, to "1.001".
std::string FormatChartValue(double value);

// The caption of a slice's mark: its label alone, or its label, a blank and its value. A slice
// without a label shows its value instead, so a mark is never blank.
std::string MarkText(const std::string& label, double value, bool withValue);

}  // namespace orv
