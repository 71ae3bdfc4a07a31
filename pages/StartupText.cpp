#include "pages/StartupText.h"

namespace orv {

std::string LocationFolder(std::string_view location) {
  const std::size_t last = location.find_last_of("\\:");
  if (last == std::string_view::npos) return std::string();
  return std::string(location.substr(0, last + 1));
}

std::string StartupSearchAddress(std::string_view program) {
  std::string address = std::string(kWebSearchSite) + "/search?hl=en&q=\"";
  for (const char c : program) {
    switch (c) {
      case '%':
        address += "%25";
        break;
      case '&':
        address += "%26";
        break;
      case '#':
        address += "%23";
        break;
      case '+':
        address += "%2B";
        break;
      default:
        address += c;
        break;
    }
  }
  address += '"';
  return address;
}

}  // namespace orv
