#include "base/TextRules.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace orv {

std::string TrimControl(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
  return std::string(text.substr(first, last - first));
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::int64_t RoundHalfEven(double value) {
  // A NaN (0 / 0) or an out-of-range figure must not reach the integer conversion.
  if (!std::isfinite(value)) return 0;
  if (value >= 9.2e18) return INT64_MAX;
  if (value <= -9.2e18) return INT64_MIN;
  // nearbyint follows the current rounding mode, which is round-to-nearest-even unless someone
  // changed it; say so explicitly rather than rely on it.
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double rounded = std::nearbyint(value);
  std::fesetround(saved);
  return static_cast<std::int64_t>(rounded);
}

std::string WithTrailingBackslash(std::string text) {
  if (text.empty() || text.back() != '\\') text.push_back('\\');
  return text;
}

std::wstring WithTrailingBackslash(std::wstring text) {
  if (text.empty() || text.back() != L'\\') text.push_back(L'\\');
  return text;
}

std::string UpToNul(const char* buffer, std::size_t size) {
  const void* nul = std::memchr(buffer, '\0', size);
  return std::string(buffer, nul ? static_cast<const char*>(nul) - buffer : size);
}

std::string ReplaceChars(std::string_view text, std::span<const CharReplacement> table) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const CharReplacement* found = nullptr;
    for (const CharReplacement& r : table) {
      if (r.character == c) found = &r;
    }
    if (found) {
      out += found->text;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace orv
