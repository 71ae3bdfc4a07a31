// Every section and key that the program reads, once each, with its compiled English default:
// what the tests hold the language files and the program's lookups against. (A key read in several
// places, such as General/Memory or Startup/Program, appears once.) The creation-time captions come
// in the order the window applies them, then the texts the pages read when shown; a complete
// language file holds these keys and no others.
#pragma once

#include <string>
#include <vector>

#include "base/TextRules.h"
#include "lang/CaptionTable.h"

namespace orv::test {

// One text the program looks up: section, key and the English text it shows without a file.
struct LanguageKey {
  std::string section;
  std::string key;
  std::string defaultText;
};

namespace known_keys {

// Texts the pages look up each time they are shown (the creation-time ones come from the caption
// table). Keys that both lists read appear in either; the result holds them once.
inline const LanguageKey kShowTimeKeys[] = {
    {"General", "ProductId", "Product Id"},
    {"General", "ComputerName", "Computer name"},
    {"General", "UserName", "User name"},
    {"General", "Owner", "Registered owner"},
    {"General", "Organization", "Registered organization"},
    {"General", "BIOS", "BIOS"},
    {"General", "CPU", "CPU"},
    {"General", "Video", "Video"},
    {"General", "Monitor", "Monitor"},
    {"General", "Memory", "Memory"},
    {"General", "Keyboard", "Keyboard language"},
    {"Drives", "Drive", "Drive"},
    {"Drives", "Fixed", "Fixed"},
    {"Drives", "Removable", "Removable"},
    {"Drives", "Size", "Drive size"},
    {"Drives", "Used", "Used"},
    {"Drives", "Free", "Free"},
    {"Memory", "Size", "Memory size"},
    {"Memory", "Virtual", "Virtual memory"},
    {"Memory", "Usage", "Memory usage"},
    {"Memory", "Processes", "Processes"},
    {"Startup", "AllUsers", "All users"},
    {"Messages", "Warning", "Warning"},
    {"Messages", "FolderNotFound", "Folder not found!"},
    {"Messages", "FileNotFound", "File not found!"},
};

// Section and key names match without regard to case, as in the INI files themselves.
inline bool SameName(const std::string& a, const std::string& b) {
  return UpperAscii(a) == UpperAscii(b);
}

inline void AddOnce(std::vector<LanguageKey>& keys, LanguageKey key) {
  for (const LanguageKey& k : keys) {
    if (SameName(k.section, key.section) && SameName(k.key, key.key)) return;
  }
  keys.push_back(std::move(key));
}

inline std::vector<LanguageKey> CollectKnownKeys() {
  std::vector<LanguageKey> keys;
  CreationCaptions(
      [&keys](const std::string& section, const std::string& key, const std::string& defaultText) {
        AddOnce(keys, {section, key, defaultText});
        return defaultText;
      });
  for (const LanguageKey& key : kShowTimeKeys) AddOnce(keys, key);
  return keys;
}

}  // namespace known_keys

inline const std::vector<LanguageKey>& KnownLanguageKeys() {
  static const std::vector<LanguageKey> keys = known_keys::CollectKnownKeys();
  return keys;
}

}  // namespace orv::test
