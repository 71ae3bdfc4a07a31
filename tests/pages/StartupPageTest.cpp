// The Startup page in the real window: values seeded in the six Run and RunOnce keys and in the
// configuration tool's key of the test prefix, real shortcut files in both Startup folders, the
// icons, a second show, a click on a row, and the three actions on chosen rows.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/CodePage.h"
#include "base/Handles.h"
#include "tests/support/PageTest.h"
#include "tests/support/Shortcut.h"
#include "tests/support/WinTestTools.h"
#include "tests/support/WindowTest.h"

namespace orv {
namespace {

constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr char kWowRun[] = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kConfiguration[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\";

// The roots of the seeds: the user's, and the machine's, listed for everyone.
const HKEY kCu = HKEY_CURRENT_USER;
const HKEY kLm = HKEY_LOCAL_MACHINE;

struct Seed {
  HKEY root;
  std::string key;  // below the root, without the leading backslash
  std::string name;
  DWORD type;
  std::string data;  // as stored, terminating NULs included
};

using test::Sorted;
using test::Sz;
using test::ThisProgram;

class StartupPageTest : public test::WindowTest {
 protected:
  void TearDown() override {
    form.reset();
    // Newest first, so that a folder made here is empty when its turn comes.
    for (auto it = made.rbegin(); it != made.rend(); ++it) {
      if (!DeleteFileW(it->c_str())) RemoveDirectoryW(it->c_str());
    }
    test::WindowTest::TearDown();
  }

  // Every key of the test's own ("Orv...") starts empty; in the system's keys only the values
  // change. All is put back when the test ends. Written in the 64-bit view, which the page reads,
  // from the 32-bit test program too.
  void SeedRegistry(const std::vector<Seed>& seeds) {
    std::set<std::string> fresh;
    for (const Seed& seed : seeds) {
      const bool own = seed.key.compare(seed.key.rfind('\\') + 1, 3, "Orv") == 0;
      const auto key = own && fresh.insert(seed.key).second
                           ? registry.Fresh(seed.root, seed.key, KEY_WOW64_64KEY)
                           : registry.At(seed.root, seed.key, KEY_WOW64_64KEY);
      EXPECT_TRUE(key.Set(seed.name, seed.type, seed.data)) << seed.key << " " << seed.name;
    }
  }

  TForm1& MakeStartup() { return MakeStartup(InDir()); }
  TForm1& MakeStartup(SystemQueries queries) {
    Language(
        "[Startup]\r\nAllUsers=Everyone\r\n[Messages]\r\nWarning=Careful\r\n"
        "FolderNotFound=No such folder\r\nFileNotFound=No such file\r\n");
    return Make(std::move(queries));
  }

  void Folder(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) made.push_back(WideText(path));
  }

  void Shortcut(const std::string& path, const std::string& target) {
    ASSERT_EQ(test::SaveShortcut(path, target), S_OK) << path;
    made.push_back(WideText(path));
  }

  void Bytes(const std::string& path, const std::string& bytes) {
    test::WriteBytes(path, bytes);
    made.push_back(WideText(path));
  }

  // In a Startup folder: a plain shortcut, one to a file that does not exist, a file of garbage
  // named like a shortcut, a folder named like one and a text file.
  void SeedFolder(const std::string& folder) {
    Folder(folder);
    Shortcut(folder + "OrvPlain.lnk", ThisProgram());
    Shortcut(folder + "OrvMissing.lnk", "C:\\OrvNowhere\\gone.exe");
    Bytes(folder + "Broken.lnk", std::string("\x4C\x00\x00\x00 garbage, no link", 24));
    Folder(folder + "Tools.lnk");
    Bytes(folder + "OrvNotes.txt", "not a shortcut");
  }

  // The rows this test seeded, in list order, as "user|program|location".
  static std::vector<std::string> SeededRows(TForm1& f) {
    static const std::set<std::string> shortcuts = {"OrvPlain.lnk", "OrvMissing.lnk", "Broken.lnk",
                                                    "Tools.lnk", "OrvNotes.txt"};
    std::vector<std::string> rows;
    for (int row = 0; row < f.Page4List.Count(); ++row) {
      const std::string program = f.Page4List.ItemText(row, 2);
      const std::string location = f.Page4List.ItemText(row, 3);
      if (program.rfind("Orv", 0) != 0 && !shortcuts.count(program) &&
          location.find("\\Orv\\") == std::string::npos) {
        continue;
      }
      EXPECT_EQ(f.Page4List.ItemText(row, 0), "");
      rows.push_back(f.Page4List.ItemText(row, 1) + "|" + program + "|" + location);
    }
    return rows;
  }

  // The files and folders the test made, by their exact names.
  std::vector<std::wstring> made;

  static int RowOf(TForm1& f, const std::string& program, const std::string& user) {
    const int row = test::RowWith(f.Page4List, {{2, program}, {1, user}});
    if (row < 0) ADD_FAILURE() << program << " not listed for " << user;
    return row;
  }

  // Images count up from 0 in row order, one per row that has one, and the count is kept.
  static void ExpectImagesInRowOrder(TForm1& f) {
    int next = 0;
    for (int row = 0; row < f.Page4List.Count(); ++row) {
      const int image = f.Page4List.ImageIndex(row);
      if (image < 0) continue;
      EXPECT_EQ(image, next) << "row " << row;
      ++next;
    }
    EXPECT_EQ(f.ImageList1.Count(), next);
    EXPECT_EQ(f.StartupImageCount, next);
  }
};

TEST_F(StartupPageTest, NineSourcesInOrderWithTheirMarkersAndIcons) {
  const std::string cfg = kConfiguration;
  // "hkey" gives the all-users marker in exactly these capitals; "hklm" and none do not.
  SeedRegistry({
      {kCu, kRun, "Orv1Run", REG_SZ, Sz("C:\\Orv\\run.exe /x")},
      {kCu, kRun, "Orv2Both", REG_SZ, Sz("C:\\Orv\\both.exe")},
      {kCu, kRun, "Orv3Expand", REG_EXPAND_SZ, Sz(" %WINDIR%\\orv.exe \t")},
      {kCu, kRun, "Orv4Multi", REG_MULTI_SZ, Sz(Sz("C:\\a.exe"))},
      {kCu, kRun, "", REG_SZ, Sz("C:\\Orv\\unnamed.exe")},
      {kCu, kRunOnce, "Orv5Once", REG_SZ, Sz("C:\\Orv\\once.exe")},
      {kLm, kRun, "Orv2Both", REG_SZ, Sz("C:\\Orv\\both.exe")},
      {kLm, kRunOnce, "Orv7MachineOnce", REG_SZ, Sz("C:\\Orv\\machineonce.exe")},
      {kLm, kWowRun, "Orv8Wow", REG_SZ, Sz("C:\\Orv\\wow.exe")},
      {kLm, cfg + "OrvCfg1", "item", REG_SZ, Sz("OrvCfgUpper")},
      {kLm, cfg + "OrvCfg1", "command", REG_SZ, Sz("C:\\Orv\\cfg1.exe")},
      {kLm, cfg + "OrvCfg1", "hkey", REG_SZ, Sz("HKLM")},
      {kLm, cfg + "OrvCfg2", "item", REG_SZ, Sz("OrvCfgLower")},
      {kLm, cfg + "OrvCfg2", "command", REG_SZ, Sz("C:\\Orv\\cfg2.exe")},
      {kLm, cfg + "OrvCfg2", "hkey", REG_SZ, Sz("hklm")},
      {kLm, cfg + "OrvCfg3", "item", REG_SZ, Sz("OrvCfgNone")},
      {kLm, cfg + "OrvCfg3", "command", REG_SZ, Sz("C:\\Orv\\cfg3.exe")},
  });
  TForm1& f = MakeStartup();
  SeedFolder(f.UserStartupDir);
  SeedFolder(f.CommonStartupDir);
  f.Show();
  UserPicksTab(f, 3);
  ASSERT_EQ(f.PageShowCount[3], 1);

  const std::string u = f.CurrentUserName;
  ASSERT_FALSE(u.empty());
  const std::string all = "All users";
  const std::vector<std::string> expected = {
      u + "|Orv1Run|C:\\Orv\\run.exe /x",
      u + "|Orv2Both|C:\\Orv\\both.exe",
      u + "|Orv3Expand|%WINDIR%\\orv.exe",
      u + "|Orv4Multi|",
      u + "|Orv5Once|C:\\Orv\\once.exe",
      "Everyone|Orv2Both|C:\\Orv\\both.exe",
      "Everyone|Orv7MachineOnce|C:\\Orv\\machineonce.exe",
      "Everyone|Orv8Wow|C:\\Orv\\wow.exe",
      // The two Startup folders.
      u + "|Broken.lnk|",
      u + "|OrvMissing.lnk|C:\\OrvNowhere\\gone.exe",
      u + "|OrvPlain.lnk|" + ThisProgram(),
      all + "|Broken.lnk|",
      all + "|OrvMissing.lnk|C:\\OrvNowhere\\gone.exe",
      all + "|OrvPlain.lnk|" + ThisProgram(),
      // The configuration tool's entries.
      all + "|OrvCfgUpper|C:\\Orv\\cfg1.exe",
      u + "|OrvCfgLower|C:\\Orv\\cfg2.exe",
      u + "|OrvCfgNone|C:\\Orv\\cfg3.exe",
  };
  std::vector<std::string> rows = SeededRows(f);
  ASSERT_EQ(rows.size(), expected.size());
  // A folder's shortcuts come in the order the file system gives; compare each folder as a set.
  std::sort(rows.begin() + 8, rows.begin() + 11);
  std::sort(rows.begin() + 11, rows.begin() + 14);
  EXPECT_EQ(rows, expected);

  EXPECT_LT(f.Page4List.ImageIndex(RowOf(f, "Broken.lnk", u)), 0);
  EXPECT_GE(f.Page4List.ImageIndex(RowOf(f, "OrvPlain.lnk", "All users")), 0);
  ExpectImagesInRowOrder(f);
  EXPECT_EQ(f.Page4List.Width(), 481);
}

// The user's Wow6432Node Run key is a source of its own, after the user's Run and RunOnce keys.
TEST_F(StartupPageTest, TheUsersWow6432NodeRunKeyIsListedBesideTheRunKey) {
  // Seeding the key would hide the user's own Run keys from the 32-bit program under Wine.
  BOOL wow64 = FALSE;
  if (test::RunningOnWine() && IsWow64Process(GetCurrentProcess(), &wow64) && wow64) {
    GTEST_SKIP() << "Wine sends a 32-bit program's HKCU\\Software to HKCU\\Software\\Wow6432Node "
                    "once that key exists, which Windows never does";
  }
  SeedRegistry({{kCu, kWowRun, "Orv6WowUser", REG_SZ, Sz("C:\\Orv\\wowuser.exe")},
                {kCu, kRun, "Orv1Run", REG_SZ, Sz("C:\\Orv\\run.exe")}});
  TForm1& f = MakeStartup();
  f.Page4Show();
  const std::string u = f.CurrentUserName;
  EXPECT_EQ(SeededRows(f), (std::vector<std::string>{u + "|Orv1Run|C:\\Orv\\run.exe",
                                                     u + "|Orv6WowUser|C:\\Orv\\wowuser.exe"}));
}

// A name with characters outside the code page is shown as the code page gives it, and its
// command is still read: through the altered name the value, key or shortcut is not found.
TEST_F(StartupPageTest, NamesOutsideTheCodePageKeepTheirLocation) {
  const std::wstring run = WideText(kRun);
  const std::wstring runOnce = WideText(kRunOnce);
  const std::wstring cfg = WideText(kConfiguration);
  enum Kind { kValue, kConfiguration, kShortcut };
  const struct {
    const char* why;
    Kind kind;
    HKEY root;
    std::wstring key;  // the value's key; for a configuration entry the parent of its subkey
    std::wstring name;
    std::string location;
  } kCases[] = {
      {"Cyrillic, user's Run", kValue, kCu, run, L"OrvIntl \u0416he", "C:\\Orv\\zhe.exe"},
      {"same code page form, other data", kValue, kCu, run, L"OrvIntl \u0414he", "C:\\Orv\\de.exe"},
      {"Greek, user's RunOnce", kValue, kCu, runOnce, L"OrvIntl \u03A9mega", "C:\\Orv\\omega.exe"},
      {"CJK, machine's Run", kValue, kLm, run, L"OrvIntl \u4E2D\u6587", "C:\\Orv\\cjk.exe"},
      {"outside the BMP, machine's Run", kValue, kLm, run, L"OrvIntl \U0001F600 smile",
       "C:\\Orv\\smile.exe"},
      {"a NUL inside the name", kValue, kCu, run, std::wstring(L"OrvIntl Nul\0Hidden", 18),
       "C:\\Orv\\hidden.exe"},
      {"configuration subkey", kConfiguration, kLm, cfg, L"OrvIntl \u0416\u4E2D\U0001F600",
       "C:\\Orv\\cfg.exe"},
      {"shortcut", kShortcut, nullptr, L"", L"OrvIntl \u0416\u03A9\u4E2D\U0001F600.lnk",
       "C:\\Orv\\link.exe"},
  };
  TForm1& f = MakeStartup();
  Folder(f.UserStartupDir);
  std::vector<std::string> expected;
  for (const auto& c : kCases) {
    // What the program must show: the code page's form that the system's own ANSI listing makes.
    std::string program;
    if (c.kind == kValue) {
      const auto key = registry.At(c.root, c.key, KEY_WOW64_64KEY);
      if (!key.SetSz(c.name, WideText(c.location))) {
        // Only the native API writes a NUL into a name, and not every registry takes it.
        ASSERT_NE(c.name.find(L'\0'), std::wstring::npos) << c.why;
        std::cout << "not seeded, left out (" << c.why << "): this registry does not store it\n";
        continue;
      }
      program = key.ListedInCodePage(c.name).first;
      std::replace(program.begin(), program.end(), '\0', '?');  // a NUL would end the text
    } else if (c.kind == kConfiguration) {
      const auto key = registry.Fresh(c.root, c.key + c.name, KEY_WOW64_64KEY);
      ASSERT_TRUE(key.Made()) << c.why;
      ASSERT_TRUE(key.SetSz(L"item", L"OrvIntl item")) << c.why;
      ASSERT_TRUE(key.SetSz(L"command", WideText(c.location))) << c.why;
      ASSERT_TRUE(key.SetSz(L"hkey", L"HKLM")) << c.why;
      program = "OrvIntl item";
    } else {
      const std::wstring path = WideText(f.UserStartupDir) + c.name;
      ASSERT_EQ(test::SaveShortcut(path, c.location), S_OK) << c.why;
      made.push_back(path);
      WIN32_FIND_DATAA found{};
      UniqueFind search(FindFirstFileA((f.UserStartupDir + "OrvIntl*.lnk").c_str(), &found));
      ASSERT_TRUE(search) << c.why;
      program = found.cFileName;
    }
    const std::string user = c.kind == kConfiguration ? "All users"
                             : c.root == kLm          ? "Everyone"
                                                      : f.CurrentUserName;
    expected.push_back(user + "|" + program + "|" + c.location);
  }
  f.Page4Show();
  EXPECT_EQ(Sorted(SeededRows(f)), Sorted(expected));
}

// A Startup folder whose path holds characters outside the code page (a user's name in Greek on
// a Western Windows) still has its shortcuts listed, whether the shell names it or, when the
// shell gives no path, its Shell Folders value does.
TEST_F(StartupPageTest, StartupFoldersOutsideTheCodePageAreListed) {
  const std::wstring explorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
  const struct {
    const char* why;
    HKEY root;
    const wchar_t* value;  // the folder's value under "User Shell Folders" and "Shell Folders"
    bool fromShell;        // else the shell gives no path and "Shell Folders" is asked
    const wchar_t* folder;
    const char* user;  // the marker; empty: the current user's name
  } kCases[] = {
      {"the user's, from the shell", kCu, L"Startup", true, L"\u03A9 user", ""},
      {"all users', from the shell", kLm, L"Common Startup", true, L"\u0416 common", "All users"},
      {"the user's, from Shell Folders", kCu, L"Startup", false, L"\u03A9 fallback", ""},
      {"all users', from Shell Folders", kLm, L"Startup", false, L"\u0416 fallback", "All users"},
  };
  for (const auto& c : kCases) {
    const std::wstring folder = WideText(dir) + L"\\Orv " + c.folder;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << c.why;
    made.push_back(folder);
    test::RegistryScratch scratch;
    // Both name the folder: the shell (Wine's menu builder too, as a shortcut is saved) copies
    // "User Shell Folders" into "Shell Folders". Both are put back.
    for (const wchar_t* key : {L"Shell Folders", L"User Shell Folders"}) {
      ASSERT_TRUE(scratch.At(c.root, explorer + key).SetSz(c.value, folder)) << c.why;
    }
    ASSERT_EQ(test::SaveShortcut(folder + L"\\OrvExact.lnk", ThisProgram()), S_OK) << c.why;
    made.push_back(folder + L"\\OrvExact.lnk");
    SystemQueries queries = InDir();
    if (!c.fromShell) queries.exactFolderPath = [](int) { return std::wstring(); };
    TForm1& f = MakeStartup(queries);
    f.Page4Show();
    const std::string user = *c.user ? c.user : f.CurrentUserName;
    EXPECT_EQ(SeededRows(f), std::vector<std::string>{user + "|OrvExact.lnk|" + ThisProgram()})
        << c.why;
  }
}

TEST_F(StartupPageTest, EveryShowStartsAfreshAndNoFillRunsInsideAnother) {
  TForm1& f = MakeStartup();
  SeedFolder(f.UserStartupDir);
  f.Page4Show();
  const std::vector<std::string> first = SeededRows(f);
  ASSERT_EQ(first.size(), 3u);

  // A show asked for while the list is being filled (the tab's notice arriving through the
  // fill's message pump) waits for the fill, then rebuilds it: the rows are not doubled.
  TabCtrl_SetCurSel(f.Pages.Handle(), 3);
  static NMHDR header{};
  header = {f.Pages.Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
  PostMessageA(f.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  const int shows = f.PageShowCount[3];
  f.Page4Show();
  EXPECT_EQ(f.PageShowCount[3], shows + 1);
  EXPECT_EQ(SeededRows(f), first);
  ExpectImagesInRowOrder(f);

  // Without the shell-link object every shortcut keeps its marker and name only, without icon.
  f.ShellLinkObject.Release();
  f.Page4Show();
  const int plain = RowOf(f, "OrvPlain.lnk", f.CurrentUserName);
  EXPECT_EQ(f.Page4List.ItemText(plain, 3), "");
  EXPECT_LT(f.Page4List.ImageIndex(plain), 0);
  ExpectImagesInRowOrder(f);

  // A Startup folder the system did not name is no licence to list the drive's root.
  SetCurrentDirectoryA(dir.c_str());  // put back when the test ends
  Bytes(std::string(1, dir[0]) + ":\\OrvRoot.lnk", "root");
  f.UserStartupDirExact = L"\\";
  f.Page4Show();
  EXPECT_TRUE(SeededRows(f).empty());
}

TEST_F(StartupPageTest, AClickInTheLocationColumnSelectsTheRow) {
  SeedRegistry({{kCu, kRun, "OrvFirst", REG_SZ, Sz("C:\\Orv\\1.exe")},
                {kCu, kRun, "OrvSecond", REG_SZ, Sz("C:\\Orv\\2.exe")}});
  TForm1& f = MakeStartup();
  f.Page4Show();
  const int row = RowOf(f, "OrvSecond", f.CurrentUserName);
  RECT bounds{};
  ASSERT_TRUE(ListView_GetItemRect(f.Page4List.Handle(), row, &bounds, LVIR_BOUNDS));
  const int x = 30 + 80 + 100 + 20;  // inside "Location"
  const LPARAM point = MAKELPARAM(x, (bounds.top + bounds.bottom) / 2);
  // The list view waits for the button's release before it selects: post it first.
  PostMessageA(f.Page4List.Handle(), WM_LBUTTONUP, 0, point);
  SendMessageA(f.Page4List.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
  EXPECT_EQ(f.Page4List.Selected(), row);
}

TEST_F(StartupPageTest, TheThreeActionsOnTheSelectedRow) {
  const std::string program = ThisProgram();
  const std::string folder = program.substr(0, program.rfind('\\') + 1);
  SeedRegistry({{kCu, kRun, "OrvPlainPath", REG_SZ, Sz(program)},
                {kCu, kRun, "OrvQuoted", REG_SZ, Sz("\"" + program + "\" /min")},
                {kCu, kRun, "Foo & Bar Updater", REG_SZ, Sz(program)}});
  TForm1& f = MakeStartup();
  SeedFolder(f.UserStartupDir);
  // What "Open folder", "Launch software" and "Ask Google" ask of the outside, in turn.
  auto actions = [&] {
    std::vector<std::string> done;
    for (void (TForm1::*action)(Label&) :
         {&TForm1::Page4Label01Click, &TForm1::Page4Label02Click, &TForm1::Page4Label03Click}) {
      outside.opened.clear();
      outside.messages.clear();
      (f.*action)(f.Page4Label01);
      std::string what;
      for (const auto& open : outside.opened) {
        what += "open:" + open.target + (open.owner == f.Handle() ? "" : " (not owned)");
      }
      for (const auto& box : outside.messages) {
        what += "box:" + box.text + "|" + box.caption + (box.style == MB_OK ? "" : " (not OK)");
      }
      done.push_back(what);
    }
    return done;
  };
  const std::vector<std::string> nothing = {"", "", ""};
  EXPECT_EQ(actions(), nothing);  // before the first show the list is empty
  f.Page4Show();

  const std::string search = "open:https://www.google.com/search?hl=en&q=\"";
  const std::string noFolder = "box:No such folder|Careful";
  const std::string noFile = "box:No such file|Careful";
  const struct {
    std::string program;  // the row selected; empty: none
    std::vector<std::string> done;
  } cases[] = {
      {"OrvPlainPath", {"open:" + folder, "open:" + program, search + "OrvPlainPath\""}},
      {"OrvQuoted", {noFolder, noFile, search + "OrvQuoted\""}},
      {"Broken.lnk", {noFolder, noFile, search + "Broken.lnk\""}},
      {"Foo & Bar Updater",
       {"open:" + folder, "open:" + program, search + "Foo %26 Bar Updater\""}},
      {"", nothing},
  };
  for (const auto& c : cases) {
    ListView_SetItemState(f.Page4List.Handle(), -1, 0, LVIS_SELECTED);
    if (!c.program.empty()) f.Page4List.Select(RowOf(f, c.program, f.CurrentUserName));
    EXPECT_EQ(actions(), c.done) << c.program;
  }
}

}  // namespace
}  // namespace orv
