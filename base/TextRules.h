// Text rules shared by every unit: the program's trimming, ASCII upper-casing, rounding and
// backslash conventions. Platform-neutral, so the host build tests and fuzzes them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orv {

// Removes every leading and trailing character whose code is 32 or less (blanks and control
// characters); characters 128 to 255 are kept.
std::string TrimControl(std::string_view text);

// Upper-cases the ASCII letters a to z only; every other byte is kept.
std::string UpperAscii(std::string_view text);

// Rounds to the nearest whole number, an exact half going to the even neighbour (62.5 -> 62).
std::int64_t RoundHalfEven(double value);

// Appends a backslash unless the text already ends with one ("" becomes "\").
std::string WithTrailingBackslash(std::string text);
std::wstring WithTrailingBackslash(std::wstring text);

// Cuts a buffer filled by a Windows call at its first NUL.
std::string UpToNul(const char* buffer, std::size_t size);

// One character and the text that stands for it.
struct CharReplacement {
  char character;
  const char* text;
};

// text with every character that table names replaced by its text; the rest as it is.
std::string ReplaceChars(std::string_view text, std::span<const CharReplacement> table);

}  // namespace orv
