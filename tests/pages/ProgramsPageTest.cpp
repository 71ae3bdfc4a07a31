// The Installed programs page in the real window, against the real registry of the test prefix:
// seeded uninstall entries and the rules that list or hide them, their order, the per-user entry
// winning over the machine's, the icons, the image list shared with the Startup page, and a
// cross-check with Wine's own uninstaller on the same prefix.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/CodePage.h"
#include "base/Handles.h"
#include "base/TextRules.h"
#include "pages/ProgramEntry.h"
#include "tests/support/ImagePixels.h"
#include "tests/support/PageTest.h"
#include "tests/support/WinTestTools.h"
#include "tests/support/WindowTest.h"

namespace orv {
namespace {

constexpr char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kUninstall32[] =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The roots of the seeds: the user's and the machine's.
const HKEY kCu = HKEY_CURRENT_USER;
const HKEY kLm = HKEY_LOCAL_MACHINE;
// Every seeded subkey and display name starts so, which finds them among the prefix's own.
constexpr char kSeed[] = "OrvSeed";

struct Value {
  std::string name;
  DWORD type;
  std::string bytes;
};
Value Sz(const std::string& name, const std::string& text) { return {name, REG_SZ, text + '\0'}; }
Value Dword(const std::string& name, DWORD number) {
  return {name, REG_DWORD, test::DwordBytes(number)};
}
// A listed entry's values: its name, the uninstall command u.exe and those given.
std::vector<Value> Entry(const std::string& name, std::vector<Value> more = {}) {
  more.push_back(Sz("DisplayName", name));
  more.push_back(Sz("UninstallString", "u.exe"));
  return more;
}

// The seeded rows in list order: name, publisher.
std::vector<std::string> SeededRows(TForm1& f) {
  std::vector<std::string> rows;
  for (int row = 0; row < f.Page5List.Count(); ++row) {
    const std::string name = f.Page5List.ItemText(row, 0);
    if (name.rfind(kSeed, 0) == 0) rows.push_back(name + "|" + f.Page5List.ItemText(row, 1));
  }
  return rows;
}

// The entry of InstalledProgramList with this key path, or nothing.
std::optional<ProgramEntry> EntryAt(TForm1& f, const std::string& keyPath) {
  for (const std::string& text : f.InstalledProgramList) {
    const ProgramEntry entry = SplitProgramEntry(text);
    if (entry.keyPath == keyPath) return entry;
  }
  return std::nullopt;
}

// The first icon of a file, its 16 x 16 image, as an image list of the page's kind shows it.
std::vector<std::uint32_t> FileIconPixels(const std::string& path) {
  ImageList list;
  list.Create(16, 16);
  list.AddIcon(test::SmallFileIcon(path).Get());
  return test::ImagePixels(list.Handle(), 0);
}

class ProgramsPageTest : public test::WindowTest {
 protected:
  // An uninstall subkey for this test only; the key path of the entry as the page's list gives it
  // (field 4).
  std::string Seed(HKEY root, const std::string& key, const std::wstring& subkey,
                   const std::vector<Value>& values) {
    const auto made = registry.Fresh(root, WideText(key) + L"\\" + subkey, KEY_WOW64_64KEY);
    EXPECT_TRUE(made.Made()) << made.Path();
    for (const Value& v : values) made.Set(v.name, v.type, v.bytes);
    return "\\" + made.Path();
  }
};

TEST_F(ProgramsPageTest, WhichSubkeysAreListed) {
  struct Case {
    const char* what;
    std::vector<Value> values;
    bool listed;
    std::string publisher = "Maker";
  };
  const std::string longName = std::string(kSeed) + " Long " + std::string(10000, 'x');
  const Value maker = Sz("Publisher", "Maker");
  const std::vector<Case> cases = {
      {"plain", Entry("OrvSeed Plain", {maker}), true},
      {"system component", Entry("OrvSeed System", {Dword("SystemComponent", 1)}), false},
      {"system component as text", Entry("OrvSeed Text1", {Sz("SystemComponent", "1"), maker}),
       true},
      {"no uninstall value", {Sz("DisplayName", "OrvSeed NoCommand")}, false},
      {"only a quiet one",
       {Sz("DisplayName", "OrvSeed Quiet"), Sz("QuietUninstallString", "q.exe")},
       true,
       ""},
      {"both empty",
       {Sz("DisplayName", "OrvSeed Empty"), Sz("UninstallString", " "),
        Sz("QuietUninstallString", "")},
       false},
      {"windows live", Entry("OrvSeed wINDOWS lIVE Mail"), false},
      {"kb number", Entry("OrvSeed Security Update for Windows (kb2345678)"), false},
      {"hotfix", Entry("OrvSeed Fix", {Sz("ReleaseType", "Hotfix")}), false},
      {"security update", Entry("OrvSeed Sec", {Sz("ReleaseType", "Security Update")}), false},
      {"update rollup", Entry("OrvSeed Rollup", {Sz("ReleaseType", "Update Rollup")}), false},
      {"other release type", Entry("OrvSeed Pack", {Sz("ReleaseType", "Service Pack"), maker}),
       true},
      {"name not a string", {Dword("DisplayName", 7), Sz("UninstallString", "u.exe")}, false},
      {"long name", Entry(longName, {maker}), true},
      {"case 1", Entry("OrvSeed Case", {maker}), true},
      {"case 2", Entry("OrvSeed CASE", {maker}), true},
  };
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    paths.push_back(Seed(kLm, kUninstall, WideText(std::string(kSeed) + "-" + std::to_string(i)),
                         cases[i].values));
  }
  TForm1& f = Make();
  f.Page5Show();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto entry = EntryAt(f, paths[i]);
    EXPECT_EQ(entry.has_value(), cases[i].listed) << cases[i].what;
    if (!entry) continue;
    EXPECT_EQ(entry->root, 'M') << cases[i].what;
    const int row = test::RowWith(f.Page5List, {{0, entry->name}});
    ASSERT_GE(row, 0) << cases[i].what;
    EXPECT_EQ(f.Page5List.ItemText(row, 1), cases[i].publisher) << cases[i].what;
  }
  EXPECT_EQ(EntryAt(f, paths[4])->command, "q.exe");
  EXPECT_EQ(EntryAt(f, paths[13])->name, longName);
  EXPECT_EQ(f.Page5List.Width(), 481);
  // One row per entry, in the list's order.
  ASSERT_EQ(f.Page5List.Count(), static_cast<int>(f.InstalledProgramList.size()));
  for (int row = 0; row < f.Page5List.Count(); ++row) {
    EXPECT_EQ(f.Page5List.ItemText(row), SplitProgramEntry(f.InstalledProgramList[row]).name);
  }
}

// An uninstall key whose name holds characters outside the code page is listed with its
// publisher: through the name the code page gives, the key does not open.
TEST_F(ProgramsPageTest, KeysNamedOutsideTheCodePageAreListed) {
  const std::wstring uninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  const struct {
    const char* why;
    HKEY root;
    std::wstring subkey;
    std::wstring name;
    std::wstring publisher;
  } kCases[] = {
      {"Cyrillic", kCu, L"OrvSeed \u0416Key", L"OrvSeed Intl \u0416 Program", L"Maker \u0416"},
      {"same code page form", kCu, L"OrvSeed \u0414Key", L"OrvSeed Intl Twin", L"Twin maker"},
      {"Greek", kLm, L"OrvSeed \u03A9", L"OrvSeed Intl Omega", L"\u03A9 Maker"},
      {"CJK", kLm, L"OrvSeed \u4E2D\u6587", L"OrvSeed Intl \u4E2D", L"Maker CJK"},
      {"outside the BMP", kCu, L"OrvSeed \U0001F600", L"OrvSeed Intl Smile", L"Maker \U0001F600"},
  };
  std::vector<std::string> expected;
  for (const auto& c : kCases) {
    const auto key = registry.Fresh(c.root, uninstall + c.subkey, KEY_WOW64_64KEY);
    ASSERT_TRUE(key.Made()) << c.why;
    ASSERT_TRUE(key.SetSz(L"DisplayName", c.name)) << c.why;
    ASSERT_TRUE(key.SetSz(L"Publisher", c.publisher)) << c.why;
    ASSERT_TRUE(key.SetSz(L"UninstallString", L"C:\\Orv\\u.exe")) << c.why;
    // Shown as the system's own ANSI listing of the key gives the texts.
    expected.push_back(key.ListedInCodePage(L"DisplayName").second + "|" +
                       key.ListedInCodePage(L"Publisher").second);
  }
  TForm1& f = Make();
  f.Page5Show();
  EXPECT_EQ(test::Sorted(SeededRows(f)), test::Sorted(expected));
}

TEST_F(ProgramsPageTest, OrderAndWhichEntryWinsAName) {
  auto named = [](const std::string& name, const std::string& publisher) {
    return Entry(name, {Sz("Publisher", publisher)});
  };
  Seed(kLm, kUninstall, L"OrvSeed-z", named("OrvSeed zeta", "Z"));
  Seed(kLm, kUninstall, L"OrvSeed-a", named("OrvSeed Alpha", "A"));
  Seed(kCu, kUninstall, L"OrvSeed-b", named("OrvSeed beta", "B"));
  // One name three times: the per-user entry hides the machine's, the 64-bit one the 32-bit one.
  Seed(kLm, kUninstall, L"OrvSeed-s1", named("OrvSeed Same", "machine"));
  Seed(kCu, kUninstall, L"OrvSeed-s2", named("OrvSeed Same", "user"));
  Seed(kLm, kUninstall32, L"OrvSeed-s3", named("OrvSeed Same", "32-bit"));
  Seed(kLm, kUninstall, L"OrvSeed-w1", named("OrvSeed Wow", "64-bit"));
  Seed(kLm, kUninstall32, L"OrvSeed-w2", named("OrvSeed Wow", "32-bit"));
  Seed(kLm, kUninstall32, L"OrvSeed-o", named("OrvSeed Only32", "32-bit"));

  TForm1& f = Make();
  ASSERT_TRUE(f.Is64BitWindows);
  f.Page5Show();
  const std::vector<std::string> expected = {"OrvSeed Alpha|A",       "OrvSeed beta|B",
                                             "OrvSeed Only32|32-bit", "OrvSeed Same|user",
                                             "OrvSeed Wow|64-bit",    "OrvSeed zeta|Z"};
  EXPECT_EQ(SeededRows(f), expected);

  // Shown again: the same rows, not twice as many.
  f.Page5Show();
  EXPECT_EQ(SeededRows(f), expected);

  // On 32-bit Windows there is no Wow6432Node key to read.
  f.Is64BitWindows = false;
  f.Page5Show();
  EXPECT_EQ(SeededRows(f),
            (std::vector<std::string>{"OrvSeed Alpha|A", "OrvSeed beta|B", "OrvSeed Same|user",
                                      "OrvSeed Wow|64-bit", "OrvSeed zeta|Z"}));
}

TEST_F(ProgramsPageTest, EachRowsIcon) {
  TForm1& f = Make();
  const std::string sys = WithTrailingBackslash(f.SysDir);
  const std::string notepad = sys + "notepad.exe";
  const std::string winecfg = sys + "winecfg.exe";
  const std::string regedit = WithTrailingBackslash(f.WinDir) + "regedit.exe";
  const auto msiexecIcon = FileIconPixels(sys + "msiexec.exe");
  for (const std::string& file : {notepad, winecfg, regedit}) {
    ASSERT_NE(FileIconPixels(file), msiexecIcon) << file << " must look unlike msiexec.exe";
  }
  // An installer product with its icon file, and one without.
  const std::string product = "{0A1B2C3D-0000-4000-8000-0123456789AB}";
  const std::string productDir = WithTrailingBackslash(f.WinDir) + "Installer\\" + product;
  CreateDirectoryA((WithTrailingBackslash(f.WinDir) + "Installer").c_str(), nullptr);
  CreateDirectoryA(productDir.c_str(), nullptr);
  const std::string productIcon = productDir + "\\ARPPRODUCTICON.exe";
  struct Removed {
    const std::string& file;
    const std::string& dir;
    ~Removed() {
      DeleteFileA(file.c_str());
      RemoveDirectoryA(dir.c_str());
    }
  } removed{productIcon, productDir};
  ASSERT_TRUE(CopyFileA(winecfg.c_str(), productIcon.c_str(), FALSE));

  struct Case {
    const char* name;
    std::vector<Value> values;
    std::vector<std::uint32_t> icon;
  };
  // An uninstall command and, unless empty, a DisplayIcon text.
  const auto commandAndIcon = [](const std::string& command, const std::string& icon = "") {
    std::vector<Value> values = {Sz("UninstallString", command)};
    if (!icon.empty()) values.push_back(Sz("DisplayIcon", icon));
    return values;
  };
  const std::vector<Case> cases = {
      {"OrvSeed Command", commandAndIcon("\"" + notepad + "\" /uninstall"),
       FileIconPixels(notepad)},
      {"OrvSeed Display", commandAndIcon(notepad, regedit + ",0"), FileIconPixels(regedit)},
      {"OrvSeed Display token", commandAndIcon(notepad, "%SystemRoot%\\regedit.exe"),
       FileIconPixels(regedit)},
      {"OrvSeed Display number",
       {Sz("UninstallString", notepad), Dword("DisplayIcon", 1)},
       msiexecIcon},
      {"OrvSeed Missing file", commandAndIcon("C:\\no\\such.exe"), msiexecIcon},
      {"OrvSeed Msi", commandAndIcon("MsiExec.exe /X" + product, regedit),
       FileIconPixels(productIcon)},
      {"OrvSeed Msi lower", commandAndIcon("msiexec /x" + product), FileIconPixels(productIcon)},
      {"OrvSeed Msi without icon",
       commandAndIcon("MsiExec.exe /X{0A1B2C3D-0000-4000-8000-FFFFFFFFFFFF}"), msiexecIcon},
      // A quoted path to msiexec.exe is no installer command: its DisplayIcon counts.
      {"OrvSeed Msi quoted", commandAndIcon("\"" + sys + "msiexec.exe\" /X" + product, notepad),
       FileIconPixels(notepad)},
      {"OrvSeed Twin Zhe", commandAndIcon(notepad, regedit), FileIconPixels(regedit)},
      {"OrvSeed Twin De", commandAndIcon(regedit, winecfg), FileIconPixels(winecfg)},
  };
  // Two keys named alike in the code page, each with its own icon.
  const std::map<std::string, std::wstring> twinKeys = {{"OrvSeed Twin Zhe", L"OrvSeed-\u0416"},
                                                        {"OrvSeed Twin De", L"OrvSeed-\u0414"}};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    std::vector<Value> values = cases[i].values;
    values.push_back(Sz("DisplayName", cases[i].name));
    const auto twin = twinKeys.find(cases[i].name);
    const std::wstring own = WideText(std::string(kSeed) + "-" + std::to_string(i));
    Seed(kCu, kUninstall, twin != twinKeys.end() ? twin->second : own, values);
  }
  f.Page5Show();
  for (const Case& c : cases) {
    const int row = test::RowWith(f.Page5List, {{0, c.name}});
    ASSERT_GE(row, 0) << c.name;
    EXPECT_EQ(test::ImagePixels(f.ImageList1.Handle(), f.Page5List.ImageIndex(row)), c.icon)
        << c.name;
  }
  // Shared icons are read once, yet every row has an image of its own.
  EXPECT_EQ(f.ImageList1.Count(), f.Page5List.Count());
}

TEST_F(ProgramsPageTest, ImageIndexesFollowTheStartupPagesImages) {
  Seed(kCu, kUninstall, L"OrvSeed-1", Entry("OrvSeed One"));
  TForm1& f = Make();
  const std::string msiexec = WithTrailingBackslash(f.SysDir) + "msiexec.exe";
  // What the Startup page's fill leaves behind: its own images and their count. Simulated here, so
  // that the test holds whatever that page lists; the real show handler runs in the sequence too.
  auto startupFill = [&f, &msiexec](int images) {
    f.Page4Show();
    f.ImageList1.Clear();
    UniqueIcon icon(ExtractIconA(GetModuleHandleA(nullptr), msiexec.c_str(), 0));
    for (int i = 0; i < images; ++i) f.ImageList1.AddIcon(icon.Get());
    f.StartupImageCount = images;
  };
  auto expectRowsAfter = [&f](int startupImages, const char* when) {
    const int rows = f.Page5List.Count();
    ASSERT_GT(rows, 0) << when;
    EXPECT_EQ(f.ImageList1.Count(), startupImages + rows) << when;
    for (int row = 0; row < rows; ++row) {
      EXPECT_EQ(f.Page5List.ImageIndex(row), startupImages + row) << when << " row " << row;
    }
  };
  startupFill(3);
  f.Page5Show();
  expectRowsAfter(3, "first Programs fill");
  f.Page5Show();
  expectRowsAfter(3, "second Programs fill");
  startupFill(5);
  f.Page5Show();
  expectRowsAfter(5, "after the Startup page again");
  // Before any Startup fill the count is 0 and the Programs images start at the front.
  startupFill(0);
  f.Page5Show();
  expectRowsAfter(0, "no Startup images");

  startupFill(2);
  for (int fill = 0; fill < 50; ++fill) f.Page5Show();
  expectRowsAfter(2, "fifty fills");
}

TEST_F(ProgramsPageTest, ShownAsATab) {
  Seed(kLm, kUninstall, L"OrvSeed-t", Entry("OrvSeed Tab"));
  TForm1& f = Make();
  f.Show();
  UserPicksTab(f, 4);
  EXPECT_EQ(f.PageShowCount[4], 1);
  EXPECT_EQ(SeededRows(f), std::vector<std::string>{"OrvSeed Tab|"});
}

// Why a subkey that Wine's uninstaller lists is not on our page: the first of our rules it fails.
// (A name listed from an earlier key is on the page, so the de-duplication is no reason here.)
std::string OurReason(HKEY root, const std::string& path) {
  const RegKeyReader64 key(root, path);
  if (key.ReadBool("SystemComponent")) return "SystemComponent is set";
  if (!key.ValueExists("UninstallString") && !key.ValueExists("QuietUninstallString")) {
    return "no uninstall value";
  }
  const std::string name = key.ReadStr("DisplayName");
  if (name.empty()) return "no display name";
  if (UpperAscii(name).find("WINDOWS LIVE") != std::string::npos) return "a Windows Live part";
  const std::string type = UpperAscii(key.ReadStr("ReleaseType"));
  if (type.find("HOTFIX") != std::string::npos || type.find("UPDATE") != std::string::npos) {
    return "release type " + type;
  }
  if (UpperAscii(name).find("(KB") != std::string::npos) return "a knowledge-base number";
  if (key.ReadStr("UninstallString").empty() && key.ReadStr("QuietUninstallString").empty()) {
    return "empty uninstall command";
  }
  return "";
}

TEST_F(ProgramsPageTest, CrossCheckWithWinesUninstaller) {
  if (!test::RunningOnWine()) GTEST_SKIP() << "Wine's uninstaller is only on Wine";
  Seed(kLm, kUninstall, L"OrvSeed-x1", Entry("OrvSeed Both"));
  Seed(kLm, kUninstall, L"OrvSeed-x2", Entry("OrvSeed Component", {Dword("SystemComponent", 1)}));
  Seed(kLm, kUninstall, L"OrvSeed-x3", Entry("OrvSeed Hotfix", {Sz("ReleaseType", "Hotfix")}));
  Seed(kLm, kUninstall, L"OrvSeed-x4", Entry("OrvSeed Update (KB1)"));
  Seed(kLm, kUninstall, L"OrvSeed-x5", {Sz("DisplayName", "OrvSeed NoCommand")});

  // "key|||name" per entry that the uninstaller shows.
  std::map<std::string, std::string> theirs;  // name -> subkey
  for (const std::string& line : test::Lines(test::RunAndCapture("uninstaller.exe --list"))) {
    const std::size_t bars = line.find("|||");
    if (bars != std::string::npos) theirs[line.substr(bars + 3)] = line.substr(0, bars);
  }
  ASSERT_FALSE(theirs.empty()) << "the uninstaller listed nothing";

  TForm1& f = Make();
  f.Page5Show();
  std::set<std::string> ours;
  for (int row = 0; row < f.Page5List.Count(); ++row) ours.insert(f.Page5List.ItemText(row));

  std::cout << "listed by both:";
  for (const std::string& name : ours) {
    if (theirs.count(name)) std::cout << " [" << name << "]";
  }
  std::cout << "\n";
  // Each name only the uninstaller lists must fail one of our rules in the key where it lies.
  const std::pair<HKEY, const char*> keys[] = {
      {kCu, kUninstall}, {kLm, kUninstall}, {kLm, kUninstall32}};
  for (const auto& [name, subkey] : theirs) {
    if (ours.count(name)) continue;
    std::string reason;
    for (const auto& [root, key] : keys) {
      const std::string path = std::string(key) + "\\" + subkey;
      if (!RegKeyReader64(root, path).ValueExists("DisplayName")) continue;
      reason = OurReason(root, path);
      break;
    }
    std::cout << "only the uninstaller: [" << name << "] because: " << reason << "\n";
    EXPECT_FALSE(reason.empty()) << name << " fails none of our rules";
  }
  for (const std::string& name : ours) {
    if (!theirs.count(name)) std::cout << "only this page: [" << name << "]\n";
  }
  EXPECT_TRUE(ours.count("OrvSeed Both") && theirs.count("OrvSeed Both"));
}

}  // namespace
}  // namespace orv
