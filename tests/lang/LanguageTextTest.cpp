#include "lang/LanguageText.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/TextRules.h"
#include "lang/CaptionTable.h"
#include "tests/support/KnownLanguageKeys.h"

namespace orv {
namespace {

TEST(LanguageFileNameFor, NamesTheSixFilesAndFallsBackToEnglish) {
  for (int index = 1; index <= 6; ++index) {
    EXPECT_EQ(LanguageFileNameFor(index), test::kLanguageFiles[index - 1]) << index;
  }
  for (int other : {0, 7, -1, 100, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(LanguageFileNameFor(other), "English.ini") << other;
  }
}

// The list the language-file checks go by, against the window's own lookups: a caption the window
// reads must be one every language file holds, with the list's default.
TEST(KnownLanguageKeys, HoldsEveryKeyOnceWithTheDefaultItsReadersPass) {
  const auto& keys = test::KnownLanguageKeys();
  std::set<std::string> seen;
  for (const auto& k : keys) {
    EXPECT_TRUE(seen.insert(UpperAscii(k.section + "/" + k.key)).second)
        << k.section << "/" << k.key << " listed twice";
    EXPECT_FALSE(k.defaultText.empty()) << k.section << "/" << k.key;
  }
  // 38 keys read at creation and 21 read only when a page is shown.
  EXPECT_EQ(keys.size(), 38u + 21u);
  auto defaultOf = [&keys](const std::string& section, const std::string& key) {
    for (const auto& k : keys) {
      if (k.section == section && k.key == key) return k.defaultText;
    }
    return std::string("<missing>");
  };
  int lookups = 0;
  CreationCaptions(
      [&](const std::string& section, const std::string& key, const std::string& defaultText) {
        ++lookups;
        EXPECT_EQ(defaultOf(section, key), defaultText) << section << "/" << key;
        return defaultText;
      });
  EXPECT_EQ(lookups, 40);
  const struct {
    const char* section;
    const char* key;
    const char* text;
  } rows[] = {
      {"General", "Memory", "Memory"},      {"General", "Keyboard", "Keyboard language"},
      {"Drives", "Size", "Drive size"},     {"Memory", "Size", "Memory size"},
      {"Startup", "AllUsers", "All users"}, {"Messages", "FolderNotFound", "Folder not found!"},
      {"About", "E-mail", "Email"},         {"Edit", "SelectAll", "Select all"},
  };
  for (const auto& r : rows) EXPECT_EQ(defaultOf(r.section, r.key), r.text) << r.key;
}

}  // namespace
}  // namespace orv
