#include "pages/StartupText.h"

#include "base/TextRules.h"

namespace orv {

std::string LocationFolder(std::string_view location) {
  const std::size_t last = location.find_last_of("\\:");
  if (last == std::string_view::npos) return std::string();
  return std::string(location.substr(0, last + 1));
}

std::string StartupSearchAddress(std::string_view program) {
  // Exactly the characters that would end the query, start a fragment or stand for a blank.
  static constexpr CharReplacement kEncoded[] = {
      {'%', "%25"}, {'&', "%26"}, {'#', "%23"}, {'+', "%2B"}};
  return std::string(kWebSearchSite) + "/search?hl=en&q=\"" + ReplaceChars(program, kEncoded) + '"';
}

}  // namespace orv
