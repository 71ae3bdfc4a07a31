// The Startup page's rules on any location and program text: the folder is a prefix that ends at
// a separator, and the search address carries the name whole, with nothing that cuts the query or
// ends the browser's quoted argument.
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "pages/StartupText.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The name back from the query part: every "%XX" decoded. Only the characters that would cut the
// query or the quoted argument are encoded: '%', '&', '#', '+', '"' and the bytes below 0x20.
std::string Decoded(std::string_view query) {
  std::string out;
  for (std::size_t i = 0; i < query.size(); ++i) {
    if (query[i] == '%') {
      orv::fuzz::Require(query.size() - i >= 3, "every '%' starts a whole code");
      const int high = HexValue(query[i + 1]);
      const int low = HexValue(query[i + 2]);
      orv::fuzz::Require(high >= 0 && low >= 0, "every code is two upper-case hex digits");
      const char c = static_cast<char>(high * 16 + low);
      orv::fuzz::Require(static_cast<unsigned char>(c) < 0x20 || c == '%' || c == '&' || c == '#' ||
                             c == '+' || c == '"',
                         "only the characters that cut the query or the argument are encoded");
      out += c;
      i += 2;
      continue;
    }
    out += query[i];
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string folder = orv::LocationFolder(text);
  orv::fuzz::Require(text.starts_with(folder), "the folder is the start of the location");
  orv::fuzz::Require(folder.empty() || folder.back() == '\\' || folder.back() == ':',
                     "the folder ends at a separator");

  const std::string address = orv::StartupSearchAddress(text);
  const std::string head = std::string(orv::kWebSearchSite) + "/search?hl=en&q=\"";
  orv::fuzz::Require(address.starts_with(head) && address.ends_with('"'), "a quoted search");
  const std::string_view query =
      std::string_view(address).substr(head.size(), address.size() - head.size() - 1);
  orv::fuzz::Require(query.find_first_of("&#+\"") == std::string_view::npos,
                     "nothing in the name cuts or alters the query");
  for (const char c : query) {
    orv::fuzz::Require(static_cast<unsigned char>(c) >= 0x20,
                       "no control byte reaches the browser");
  }
  orv::fuzz::Require(Decoded(query) == text, "the name is carried whole");
  return 0;
}
