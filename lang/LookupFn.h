// The language lookup as the text rules take it: the language file's text for section and key, or
// defaultText (the compiled English one) when the file gives none.
#pragma once

#include <functional>
#include <string>

namespace orv {

using LookupFn = std::function<std::string(const std::string& section, const std::string& key,
                                           const std::string& defaultText)>;

}  // namespace orv
