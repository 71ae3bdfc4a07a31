// Number format of the chart marks, done on decimal digits so that rounding follows the value as
// a reader sees it rather than its binary approximation.
#include "chart/ChartFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace orv {

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kDecimals = 3;

std::string GroupThousands(const std::string& digits) {
  std::string out;
  const std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

}  // namespace

std::string FormatChartValue(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

  const bool negative = std::signbit(value);
  // Mantissa digits and decimal exponent: value = 0.d1d2...d15 x 10^(exp + 1).
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", kSignificantDigits - 1, std::fabs(value));
  std::string mantissa;
  const char* p = buf;
  for (; *p && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') mantissa += *p;
  }
  const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;

  // Place the digits around the decimal point: position of the first digit is 10^exponent.
  std::string integer, fraction;
  if (exponent >= 0) {
    const std::size_t intLen = static_cast<std::size_t>(exponent) + 1;
    if (mantissa.size() <= intLen) {
      integer = mantissa + std::string(intLen - mantissa.size(), '0');
    } else {
      integer = mantissa.substr(0, intLen);
      fraction = mantissa.substr(intLen);
    }
  } else {
    integer = "0";
    fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
  }

  // Round to three decimals, half away from zero, carrying into the integer digits.
  bool roundUp = fraction.size() > kDecimals && fraction[kDecimals] >= '5';
  if (fraction.size() > kDecimals) fraction.resize(kDecimals);
  if (roundUp) {
    std::string all = integer + fraction;
    int i = static_cast<int>(all.size()) - 1;
    for (; i >= 0; --i) {
      if (all[i] == '9') {
        all[i] = '0';
      } else {
        ++all[i];
        break;
      }
    }
    if (i < 0) all.insert(all.begin(), '1');
    integer = all.substr(0, all.size() - fraction.size());
    fraction = all.substr(all.size() - fraction.size());
  }
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  const std::size_t firstNonZero = integer.find_first_not_of('0');
  integer = firstNonZero == std::string::npos ? "0" : integer.substr(firstNonZero);

  std::string out;
  // A value that rounds to zero is written without its sign: "-0" means nothing to a reader.
  if (negative && (integer != "0" || !fraction.empty())) out += '-';
  out += GroupThousands(integer);
  if (!fraction.empty()) out += '.' + fraction;
  return out;
}

std::string MarkText(const std::string& label, double value, bool withValue) {
  if (label.empty()) return FormatChartValue(value);
  if (!withValue) return label;
  return label + ' ' + FormatChartValue(value);
}

}  // namespace orv
