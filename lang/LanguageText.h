// Which language file a "Language" choice names, and every text the program may take from a
// language file, with its compiled English default. Platform-neutral.
#pragma once

#include <string>
#include <vector>

namespace orv {

// 1 English, 2 German, 3 French, 4 Spanish, 5 Italian, 6 Czech; any other value (a missing
// registry value reads as 0) falls back to English.
std::string LanguageFileNameFor(int languageIndex);

// One text the program looks up: section, key and the English text it shows without a file.
struct LanguageKey {
  std::string section;
  std::string key;
  std::string defaultText;
};

// Every section and key that the program reads, once each (a key read in several places, such as
// General/Memory or Startup/Program, appears once): the creation-time captions in the order the
// window applies them, then the texts the pages read when shown. A complete language file holds
// these keys and no others.
const std::vector<LanguageKey>& KnownLanguageKeys();

}  // namespace orv
