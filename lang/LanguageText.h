// Which language file a "Language" choice names. Platform-neutral.
#pragma once

#include <string>

namespace orv {

// 1 English, 2 German, 3 French, 4 Spanish, 5 Italian, 6 Czech; any other value (a missing
// registry value reads as 0) falls back to English.
std::string LanguageFileNameFor(int languageIndex);

}  // namespace orv
