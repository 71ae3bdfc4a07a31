// The Startup page's rules on any location and program text: the folder is a prefix that ends at
// a separator, and the search address carries the name whole, with nothing that cuts the query.
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "pages/StartupText.h"

namespace {

// The name back from the query part: "%XX" of the four encoded characters decoded.
std::string Decoded(std::string_view query) {
  std::string out;
  for (std::size_t i = 0; i < query.size(); ++i) {
    if (query[i] == '%' && query.size() - i >= 3) {
      const std::string_view code = query.substr(i, 3);
      const char c = code == "%25"   ? '%'
                     : code == "%26" ? '&'
                     : code == "%23" ? '#'
                     : code == "%2B" ? '+'
                                     : '\0';
      orv::fuzz::Require(c != '\0', "only the four characters are encoded");
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
  orv::fuzz::Require(query.find_first_of("&#+") == std::string_view::npos,
                     "nothing in the name cuts or alters the query");
  orv::fuzz::Require(Decoded(query) == text, "the name is carried whole");
  return 0;
}
