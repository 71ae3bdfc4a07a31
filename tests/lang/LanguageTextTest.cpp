#include "lang/LanguageText.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/TextRules.h"
#include "tests/support/KnownLanguageKeys.h"

namespace orv {
namespace {

using test::KnownLanguageKeys;
using test::LanguageKey;

TEST(LanguageFileNameFor, NamesTheSixFilesAndFallsBackToEnglish) {
  EXPECT_EQ(LanguageFileNameFor(1), "English.ini");
  EXPECT_EQ(LanguageFileNameFor(2), "German.ini");
  EXPECT_EQ(LanguageFileNameFor(3), "French.ini");
  EXPECT_EQ(LanguageFileNameFor(4), "Spanish.ini");
  EXPECT_EQ(LanguageFileNameFor(5), "Italian.ini");
  EXPECT_EQ(LanguageFileNameFor(6), "Czech.ini");
  for (int other : {0, 7, -1, 100, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(LanguageFileNameFor(other), "English.ini") << other;
  }
}

TEST(KnownLanguageKeys, HoldsEveryKeyOnceWithTheDefaultItsReadersPass) {
  const auto& keys = KnownLanguageKeys();
  std::set<std::string> seen;
  for (const LanguageKey& k : keys) {
    EXPECT_TRUE(seen.insert(UpperAscii(k.section + "/" + k.key)).second)
        << k.section << "/" << k.key << " listed twice";
    EXPECT_FALSE(k.defaultText.empty()) << k.section << "/" << k.key;
  }
  // 40 creation lookups over 38 distinct keys, and 21 show-time texts not read at creation (the
  // pages also read General/Memory and Drives/Drive, Fixed and Removable).
  EXPECT_EQ(keys.size(), 38u + 21u);
  auto defaultOf = [&keys](const std::string& section, const std::string& key) {
    for (const LanguageKey& k : keys) {
      if (k.section == section && k.key == key) return k.defaultText;
    }
    return std::string("<missing>");
  };
  EXPECT_EQ(defaultOf("General", "Memory"), "Memory");
  EXPECT_EQ(defaultOf("General", "Keyboard"), "Keyboard language");
  EXPECT_EQ(defaultOf("Drives", "Size"), "Drive size");
  EXPECT_EQ(defaultOf("Memory", "Size"), "Memory size");
  EXPECT_EQ(defaultOf("Startup", "AllUsers"), "All users");
  EXPECT_EQ(defaultOf("Messages", "FolderNotFound"), "Folder not found!");
  EXPECT_EQ(defaultOf("About", "E-mail"), "Email");
  EXPECT_EQ(defaultOf("Edit", "SelectAll"), "Select all");
}

}  // namespace
}  // namespace orv
