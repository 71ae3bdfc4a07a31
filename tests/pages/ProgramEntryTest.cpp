// The Installed programs list's window-free rules: the entry string and its split, the listing
// rules of one uninstall subkey, the order, and the installer-product test of a command.
#include "pages/ProgramEntry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "base/TextRules.h"

namespace orv {
namespace {

// An entry's fields, in order, for one comparison.
std::vector<std::string> Fields(const ProgramEntry& e) {
  return {e.name, e.publisher, std::string(1, e.root), e.keyPath, e.command};
}

TEST(ProgramEntry, SplitTakesFieldsByPositionAndIsTotal) {
  struct Case {
    std::string entry;
    ProgramEntry fields;
  };
  const Case cases[] = {
      {"Tool|Maker|U|\\K\\Tool|\"C:\\t.exe\" /u",
       {"Tool", "Maker", 'U', "\\K\\Tool", "\"C:\\t.exe\" /u"}},
      {"Tool||M|\\K\\Tool|cmd", {"Tool", "", 'M', "\\K\\Tool", "cmd"}},
      // The command is the whole rest, bars and all.
      {"Tool|Maker|M|\\K|a|b||", {"Tool", "Maker", 'M', "\\K", "a|b||"}},
      // The root letter's bar is taken by position, whatever it is.
      {"Tool|Maker|UX\\K|cmd", {"Tool", "Maker", 'U', "\\K", "cmd"}},
      // Malformed texts: what is not reached stays empty.
      {"", {"", "", 'M', "", ""}},
      {"Tool", {"Tool", "", 'M', "", ""}},
      {"Tool|", {"Tool", "", 'M', "", ""}},
      {"Tool|Maker", {"Tool", "Maker", 'M', "", ""}},
      {"Tool|Maker|U", {"Tool", "Maker", 'U', "", ""}},
      {"Tool|Maker|U|", {"Tool", "Maker", 'U', "", ""}},
      {"Tool|Maker|U|\\K", {"Tool", "Maker", 'U', "\\K", ""}},
      {"|||||", {"", "", '|', "", ""}},
      {std::string("A\0B|P", 5), {std::string("A\0B", 3), "P", 'M', "", ""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Fields(SplitProgramEntry(c.entry)), Fields(c.fields)) << c.entry;
    EXPECT_EQ(ProgramEntryName(c.entry), c.fields.name) << c.entry;
  }
  // Fields without bars come back as they were joined.
  const ProgramEntry joined{"N", "", 'U', "\\A\\B\\", "x y"};
  EXPECT_EQ(JoinProgramEntry(joined), "N||U|\\A\\B\\|x y");
  EXPECT_EQ(Fields(SplitProgramEntry(JoinProgramEntry(joined))), Fields(joined));
}

TEST(ProgramEntry, BarsInsideFieldsNeitherSplitNorHideAnEntry) {
  const struct {
    const char* why;
    ProgramEntry entry;
  } cases[] = {
      {"a bar in the name would show its tail as the publisher",
       {"Genuine|Forged Maker", "Acme", 'M', "\\K\\A", "u.exe"}},
      {"bars in the publisher and key name", {"Tool", "|A|B|", 'U', "\\K\\x|y|", "u|v"}},
      {"the escape byte itself, alone and before a bar",
       {"a\x01b\x01|", "\x01", 'M', "\x01\x01", "\x01|"}},
      {"plain fields", {"Tool", "", 'U', "\\K\\Tool", "x y"}},
  };
  for (const auto& c : cases) {
    const std::string joined = JoinProgramEntry(c.entry);
    EXPECT_EQ(Fields(SplitProgramEntry(joined)), Fields(c.entry)) << c.why;
    // The list is de-duplicated by this name: a genuine "Genuine" later must not match it.
    EXPECT_EQ(ProgramEntryName(joined), c.entry.name) << c.why;
  }
}

// A subkey's values: strings, 32-bit numbers and values of other types (present, readable as
// neither).
struct FakeSubkey {
  std::map<std::string, std::string> strings;
  std::map<std::string, unsigned> numbers = {};
  std::vector<std::string> others = {};
};

UninstallValues ValuesOf(const FakeSubkey& key) {
  UninstallValues values;
  values.flag = [&key](const std::string& n) {
    return key.numbers.count(n) != 0 && key.numbers.at(n) != 0;
  };
  values.exists = [&key](const std::string& n) {
    return key.strings.count(n) != 0 || key.numbers.count(n) != 0 ||
           std::find(key.others.begin(), key.others.end(), n) != key.others.end();
  };
  values.text = [&key](const std::string& n) {
    return key.strings.count(n) != 0 ? key.strings.at(n) : std::string();
  };
  return values;
}

TEST(ProgramEntry, ListingRulesOfOneSubkey) {
  const std::string listed = "Tool|Maker|U|\\U\\Sub|un.exe";
  struct Case {
    const char* what;
    FakeSubkey key;
    std::string expected;  // empty: not listed
  };
  const std::map<std::string, std::string> base = {
      {"DisplayName", "Tool"}, {"Publisher", "Maker"}, {"UninstallString", "un.exe"}};
  // The base strings with these changed, and no other values.
  auto with = [&base](std::map<std::string, std::string> changes) {
    FakeSubkey key{base};
    for (const auto& [name, text] : changes) key.strings[name] = text;
    return key;
  };
  // Listed with the base values but for this name.
  auto listedAs = [](const std::string& name) { return name + "|Maker|U|\\U\\Sub|un.exe"; };
  const Case cases[] = {
      {"plain", with({}), listed},
      {"system component", {base, {{"SystemComponent", 1}}}, ""},
      {"system component 0", {base, {{"SystemComponent", 0}}}, listed},
      {"system component as text", with({{"SystemComponent", "1"}}), listed},
      {"no uninstall value", {{{"DisplayName", "Tool"}}}, ""},
      {"only a quiet one",
       {{{"DisplayName", "Tool"}, {"QuietUninstallString", "q.exe"}}},
       "Tool||U|\\U\\Sub|q.exe"},
      {"quiet wins", with({{"QuietUninstallString", "q.exe"}}), "Tool|Maker|U|\\U\\Sub|q.exe"},
      {"empty quiet", with({{"QuietUninstallString", ""}}), listed},
      {"both empty", with({{"UninstallString", ""}, {"QuietUninstallString", ""}}), ""},
      {"uninstall value not a string", {{{"DisplayName", "Tool"}}, {{"UninstallString", 1}}}, ""},
      {"no name", with({{"DisplayName", ""}}), ""},
      {"name not a string", {{{"UninstallString", "u"}}, {}, {"DisplayName"}}, ""},
      {"windows live", with({{"DisplayName", "Windows live Mail"}}), ""},
      {"windows  live", with({{"DisplayName", "Windows  Live"}}), listedAs("Windows  Live")},
      {"kb number", with({{"DisplayName", "Security Update (kb123456)"}}), ""},
      {"kb without parenthesis", with({{"DisplayName", "Tool KB2"}}), listedAs("Tool KB2")},
      {"hotfix", with({{"ReleaseType", "Hotfix"}}), ""},
      {"security update", with({{"ReleaseType", "Security Update"}}), ""},
      {"update rollup", with({{"ReleaseType", "update Rollup"}}), ""},
      {"other release type", with({{"ReleaseType", "Service Pack"}}), listed},
      {"already listed", with({{"DisplayName", "Listed"}}), ""},
      {"listed name in another case", with({{"DisplayName", "LISTED"}}), listedAs("LISTED")},
      // Non-ASCII letters are not upper-cased: "WINDOWS LİVE" is no Windows Live part.
      {"non-ascii", with({{"DisplayName", "windows l\xDDve"}}), listedAs("windows l\xDDve")},
  };
  const std::unordered_set<std::string> names = {"Listed"};
  for (const Case& c : cases) {
    const auto entry = AcceptUninstallEntry(ValuesOf(c.key), 'U', "\\U\\Sub", names);
    EXPECT_EQ(entry.value_or(""), c.expected) << c.what;
  }
}

int AsciiCaseCompare(const std::string& a, const std::string& b) {
  return UpperAscii(a).compare(UpperAscii(b));
}

TEST(ProgramEntry, SortIgnoresCaseAndKeepsEqualEntriesInCollectionOrder) {
  struct Case {
    std::vector<std::string> entries, sorted;
  };
  const Case cases[] = {
      {{"zeta||M|k|c", "Alpha||M|k|c", "beta||M|k|c"},
       {"Alpha||M|k|c", "beta||M|k|c", "zeta||M|k|c"}},
      // Equal names: the following fields decide.
      {{"Tool||U|k|c", "Tool||M|k|c"}, {"Tool||M|k|c", "Tool||U|k|c"}},
      {{"tool|B|M|k|c", "TOOL|a|M|k|c"}, {"TOOL|a|M|k|c", "tool|B|M|k|c"}},
      {{"x|||", "X|||", "x|||"}, {"x|||", "X|||", "x|||"}},
      {{}, {}},
  };
  for (Case c : cases) {
    SortProgramEntries(c.entries, AsciiCaseCompare);
    EXPECT_EQ(c.entries, c.sorted);
  }
}

TEST(ProgramEntry, InstallerProductCommands) {
  const std::pair<const char*, bool> cases[] = {
      {"MsiExec.exe /X{1234}", true},
      {"msiexec /i {A}", true},
      {"MSIEXEC{", true},
      {"MsiExec.exe /X", false},
      {" MsiExec.exe /X{1234}", false},
      {"\"C:\\Windows\\System32\\msiexec.exe\" /X{1234}", false},
      {"C:\\msiexec.exe {1}", false},
      {"", false},
  };
  for (const auto& [command, msi] : cases) EXPECT_EQ(IsMsiProductCommand(command), msi) << command;
}

}  // namespace
}  // namespace orv
