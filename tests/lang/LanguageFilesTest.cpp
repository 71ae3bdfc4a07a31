// Checks over the six language files as they ship: complete, nothing unknown, English equal to the
// compiled texts, and stored in the code page Windows reads them in.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextRules.h"
#include "tests/support/KnownLanguageKeys.h"

namespace orv {
namespace {

std::string ReadBytes(const std::string& name) {
  std::ifstream in(std::string(ORV_LANG_FILES_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct IniFile {
  std::map<std::string, std::string> values;  // "SECTION/KEY" (upper-cased) -> value
  std::vector<std::string> problems;
};

// Enough of the INI rules to check the shipped files; the Windows tests read them with the real
// reader.
IniFile ParseIni(const std::string& bytes) {
  IniFile ini;
  std::string section;
  std::size_t start = 0;
  int lineNo = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      ini.problems.push_back("last line has no CR LF");
      end = bytes.size();
    }
    const std::string line = TrimControl(bytes.substr(start, end - start));
    start = end + 2;
    ++lineNo;
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[') {
      if (line.back() != ']') ini.problems.push_back("bad section line " + std::to_string(lineNo));
      section = UpperAscii(line.substr(1, line.size() - 2));
      continue;
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || section.empty()) {
      ini.problems.push_back("stray line " + std::to_string(lineNo));
      continue;
    }
    const std::string key = section + "/" + UpperAscii(TrimControl(line.substr(0, eq)));
    if (!ini.values.emplace(key, TrimControl(line.substr(eq + 1))).second) {
      ini.problems.push_back("duplicate key " + key);
    }
  }
  return ini;
}

// Bytes that Windows-1252 and Windows-1250 leave undefined.
constexpr std::string_view kUndefinedIn1252 = "\x81\x8D\x8F\x90\x9D";
constexpr std::string_view kUndefinedIn1250 = "\x81\x83\x88\x90\x98";

bool IsValidUtf8(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = s[i];
    const int extra = c < 0x80             ? 0
                      : (c & 0xE0) == 0xC0 ? 1
                      : (c & 0xF0) == 0xE0 ? 2
                      : (c & 0xF8) == 0xF0 ? 3
                                           : -1;
    if (extra < 0 || i + extra >= s.size()) return false;
    for (int j = 0; j < extra; ++j) {
      if ((static_cast<unsigned char>(s[++i]) & 0xC0) != 0x80) return false;
    }
  }
  return true;
}

TEST(LanguageFiles, EnglishHoldsEveryKnownKeyWithTheCompiledText) {
  const IniFile english = ParseIni(ReadBytes("English.ini"));
  EXPECT_TRUE(english.problems.empty()) << english.problems.front();
  for (const auto& k : test::KnownLanguageKeys()) {
    const auto it = english.values.find(UpperAscii(k.section + "/" + k.key));
    ASSERT_NE(it, english.values.end()) << k.section << "/" << k.key;
    EXPECT_EQ(it->second, k.defaultText) << k.section << "/" << k.key;
  }
  EXPECT_EQ(english.values.size(), test::KnownLanguageKeys().size())
      << "English.ini has unknown keys";
}

TEST(LanguageFiles, EveryTranslationHasExactlyTheKeysOfEnglish) {
  const IniFile english = ParseIni(ReadBytes("English.ini"));
  for (const char* name : test::kTranslations) {
    const IniFile ini = ParseIni(ReadBytes(name));
    ASSERT_FALSE(ini.values.empty()) << name << " missing or empty";
    EXPECT_TRUE(ini.problems.empty()) << name << ": " << ini.problems.front();
    for (const auto& [key, value] : english.values) {
      const auto it = ini.values.find(key);
      ASSERT_NE(it, ini.values.end()) << name << " lacks " << key;
      EXPECT_FALSE(it->second.empty()) << name << " " << key;
    }
    for (const auto& [key, value] : ini.values) {
      EXPECT_TRUE(english.values.count(key)) << name << " has unknown key " << key;
    }
  }
}

TEST(LanguageFiles, ProductNamesStayUntranslated) {
  const IniFile english = ParseIni(ReadBytes("English.ini"));
  for (const char* section : {"GENERAL", "DRIVES", "MEMORY", "STARTUP", "UNINSTALL"}) {
    const std::string link = english.values.at(std::string(section) + "/INFO1");
    const std::string product = link.substr(link.rfind(' ') + 1);  // "Download Pellory"
    for (const char* name : test::kTranslations) {
      IniFile ini = ParseIni(ReadBytes(name));
      EXPECT_NE(ini.values[std::string(section) + "/INFO1"].find(product), std::string::npos)
          << name << " " << section;
    }
  }
}

// Windows reads the files in the system's ANSI code page: a file saved as UTF-8 would show
// "FranÃ§ais"-style garbage on every caption with an accent.
TEST(LanguageFiles, AreStoredInTheirWindowsCodePageWithCrLfEnds) {
  for (const char* name : test::kLanguageFiles) {
    const std::string bytes = ReadBytes(name);
    const bool czech = std::string(name) == "Czech.ini";
    bool highBytes = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const unsigned char c = bytes[i];
      if (c >= 0x80) highBytes = true;
      EXPECT_NE(c, 0) << name << " holds a NUL at " << i;
      EXPECT_EQ((czech ? kUndefinedIn1250 : kUndefinedIn1252).find(bytes[i]), std::string::npos)
          << name << " byte " << i;
      if (c == '\n') {
        EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << name << " bare LF at " << i;
      }
      if (c == '\r') {
        EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << name << " bare CR at " << i;
      }
    }
    EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF") << name << " starts with a UTF-8 mark";
    if (std::string(name) == "English.ini") {
      EXPECT_FALSE(highBytes);
    } else {
      EXPECT_TRUE(highBytes) << name;
      EXPECT_FALSE(IsValidUtf8(bytes)) << name << " looks like UTF-8";
    }
  }
  // A few words whose bytes differ between the two code pages (octal where a letter follows).
  EXPECT_NE(ReadBytes("German.ini").find("About=\334ber"), std::string::npos);
  EXPECT_NE(ReadBytes("French.ini").find("General=G\xE9n\xE9ral"), std::string::npos);
  EXPECT_NE(ReadBytes("Czech.ini").find("Memory=Pam\xEC\x9D"), std::string::npos);
  EXPECT_NE(ReadBytes("Czech.ini").find("Help=N\xE1pov\354da"), std::string::npos);
}

}  // namespace
}  // namespace orv
