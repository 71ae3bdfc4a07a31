#include "pages/StartupText.h"

#include "base/TextRules.h"

namespace orv {

std::string LocationFolder(std::string_view location) {
  const std::size_t last = location.find_last_of("\\:");
  if (last == std::string_view::npos) return std::string();
  return std::string(location.substr(0, last + 1));
}

std::string StartupSearchAddress(std::string_view program) {
  // Exactly the characters that would end the query, start a fragment or stand for a blank, and
  // those that would end the browser's quoted argument and let a name add one of its own.
  const auto encoded = [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == '%' || c == '&' || c == '#' || c == '+' ||
           c == '"';
  };
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string query;
  query.reserve(program.size());
  for (const char c : program) {
    if (!encoded(c)) {
      query += c;
      continue;
    }
    const auto byte = static_cast<unsigned char>(c);
    query += '%';
    query += kHex[byte >> 4];
    query += kHex[byte & 15];
  }
  return std::string(kWebSearchSite) + "/search?hl=en&q=\"" + query + '"';
}

}  // namespace orv
