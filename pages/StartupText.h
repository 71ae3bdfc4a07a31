// The Startup page without its window: the folder of a shown location and the web-search address
// of a program name. Platform-neutral; both take any byte string.
#pragma once

#include <string>
#include <string_view>

namespace orv {

// Scheme and host of the web search; the path and query follow in StartupSearchAddress.
inline constexpr char kWebSearchSite[] = "https://www.google.com";

// Everything up to and including the last "\" or ":"; empty when there is neither.
std::string LocationFolder(std::string_view location);

// The search for the program text in double quotes. "%", "&", "#" and "+" are percent-encoded,
// since the address would otherwise cut or alter the name ("Foo & Bar", "C# Tools"); everything
// else, blanks and the quotes included, stays as it is.
std::string StartupSearchAddress(std::string_view program);

}  // namespace orv
