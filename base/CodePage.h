// Text between the system code page, in which the program holds and shows all text, and UTF-16,
// the form of exact registry and file names, the clipboard's Unicode text and the controls'
// characters.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace orv {

// Every character kept, NULs included; a character the code page lacks becomes its best fit.
inline std::string NarrowText(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  const int length = static_cast<int>(wide.size());
  const int size =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
  return text;
}

inline std::wstring WideText(std::string_view text) {
  if (text.empty()) return std::wstring();
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (size <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), size);
  return wide;
}

// A name's form in the system code page, as the ANSI calls give it; a NUL inside the name (a value
// name written through the native API) becomes "?" so that the rest is not cut off.
inline std::string CodePageText(std::wstring_view wide) {
  std::wstring shown(wide);
  std::replace(shown.begin(), shown.end(), L'\0', L'?');
  return NarrowText(shown);
}

}  // namespace orv
