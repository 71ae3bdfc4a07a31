#include "lang/LanguageText.h"

namespace orv {

std::string LanguageFileNameFor(int languageIndex) {
  static const char* const kFileNames[] = {"English.ini", "German.ini",  "French.ini",
                                           "Spanish.ini", "Italian.ini", "Czech.ini"};
  if (languageIndex < 1 || languageIndex > 6) return kFileNames[0];
  return kFileNames[languageIndex - 1];
}

}  // namespace orv
