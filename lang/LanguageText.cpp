#include "lang/LanguageText.h"

#include "base/TextRules.h"
#include "lang/CaptionTable.h"

namespace orv {
namespace {

// Texts the pages look up each time they are shown (the creation-time ones come from the caption
// table). Keys that both lists read appear in either; the result holds them once.
const LanguageKey kShowTimeKeys[] = {
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
bool SameName(const std::string& a, const std::string& b) { return UpperAscii(a) == UpperAscii(b); }

void AddOnce(std::vector<LanguageKey>& keys, LanguageKey key) {
  for (const LanguageKey& k : keys) {
    if (SameName(k.section, key.section) && SameName(k.key, key.key)) return;
  }
  keys.push_back(std::move(key));
}

std::vector<LanguageKey> CollectKnownKeys() {
  std::vector<LanguageKey> keys;
  CreationCaptions(
      [&keys](const std::string& section, const std::string& key, const std::string& defaultText) {
        AddOnce(keys, {section, key, defaultText});
        return defaultText;
      });
  for (const LanguageKey& key : kShowTimeKeys) AddOnce(keys, key);
  return keys;
}

}  // namespace

std::string LanguageFileNameFor(int languageIndex) {
  static const char* const kFileNames[] = {"English.ini", "German.ini",  "French.ini",
                                           "Spanish.ini", "Italian.ini", "Czech.ini"};
  if (languageIndex < 1 || languageIndex > 6) return kFileNames[0];
  return kFileNames[languageIndex - 1];
}

const std::vector<LanguageKey>& KnownLanguageKeys() {
  static const std::vector<LanguageKey> keys = CollectKnownKeys();
  return keys;
}

}  // namespace orv
