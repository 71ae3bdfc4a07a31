// What every fuzz target shares: the input split into fields, and a language lookup whose texts
// come from the input too (a translator can put anything into a language file).
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "lang/LookupFn.h"

namespace orv::fuzz {

// Fails the run with a message libFuzzer records next to the input.
inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "violated: %s\n", what);
  std::abort();
}

// A lookup that gives the translated text when the input has one, else the English default.
inline LookupFn TranslatedLookup(const std::string& translation) {
  return [translation](const std::string&, const std::string&, const std::string& defaultText) {
    return translation.empty() ? defaultText : translation;
  };
}

}  // namespace orv::fuzz
