// The Startup page in the real window: values seeded in the six Run and RunOnce keys and in the
// configuration tool's key of the test prefix, real shortcut files in both Startup folders, the
// icons, a second show, a click on a row, and the three actions on chosen rows.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <objidl.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/pages/PageWindowFixture.h"
#include "tests/pages/WinTestTools.h"

namespace orv {
namespace {

constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr char kWowRun[] = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kConfiguration[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\";

// A registry key of the test prefix holding values for one test. The part of its path that did
// not exist is made here and deleted afterwards; an owned leaf is deleted before and after; in a
// key that existed before, only the values set here are deleted.
class SeededKey {
 public:
  SeededKey(HKEY root, const std::string& path, bool ownLeaf = false)
      : root_(root), path_(path), ownLeaf_(ownLeaf) {
    if (ownLeaf_) RegDeleteTreeA(root_, path_.c_str());
    for (std::size_t end = path_.find('\\');; end = path_.find('\\', end + 1)) {
      const std::string part = path_.substr(0, end);
      HKEY probe = nullptr;
      if (RegOpenKeyExA(root_, part.c_str(), 0, KEY_READ, &probe) != ERROR_SUCCESS) {
        createdTop_ = part;
        break;
      }
      RegCloseKey(probe);
      if (end == std::string::npos) break;
    }
    RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.Put(),
                    nullptr);
  }
  ~SeededKey() {
    for (const std::string& name : values_) RegDeleteValueA(key_.Get(), name.c_str());
    key_.Reset();
    if (!createdTop_.empty()) {
      RegDeleteTreeA(root_, createdTop_.c_str());
    } else if (ownLeaf_) {
      RegDeleteTreeA(root_, path_.c_str());
    }
  }
  SeededKey(const SeededKey&) = delete;
  SeededKey& operator=(const SeededKey&) = delete;

  void Set(const std::string& name, DWORD type, const std::string& bytes) {
    ASSERT_EQ(RegSetValueExA(key_.Get(), name.c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS)
        << path_ << " " << name;
    values_.push_back(name);
  }
  void SetSz(const std::string& name, const std::string& text) { Set(name, REG_SZ, text + '\0'); }

 private:
  HKEY root_;
  std::string path_;
  bool ownLeaf_;
  std::string createdTop_;
  UniqueKey key_;
  std::vector<std::string> values_;
};

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::string ThisProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

class StartupPageTest : public test::PageWindowTest {
 protected:
  void TearDown() override {
    form.reset();
    for (const std::string& file : created) DeleteFileA(file.c_str());
    created.clear();
    for (auto it = madeFolders.rbegin(); it != madeFolders.rend(); ++it) {
      RemoveDirectoryA(it->c_str());
    }
    test::PageWindowTest::TearDown();
  }

  TForm1& MakeStartup() {
    Language(
        "[Startup]\r\nAllUsers=Everyone\r\n[Messages]\r\nWarning=Careful\r\n"
        "FolderNotFound=No such folder\r\nFileNotFound=No such file\r\n");
    return Make();
  }

  void Folder(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) madeFolders.push_back(path);
  }

  void Shortcut(const std::string& path, const std::string& target) {
    IShellLinkA* link = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<void**>(&link)),
              S_OK);
    link->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    const HRESULT saved = file->Save(Wide(path).c_str(), TRUE);
    file->Release();
    link->Release();
    ASSERT_EQ(saved, S_OK) << path;
    created.push_back(path);
  }

  void Bytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    created.push_back(path);
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

  static int RowOf(TForm1& f, const std::string& program, const std::string& user) {
    for (int row = 0; row < f.Page4List.Count(); ++row) {
      if (f.Page4List.ItemText(row, 2) == program && f.Page4List.ItemText(row, 1) == user) {
        return row;
      }
    }
    ADD_FAILURE() << program << " not listed for " << user;
    return -1;
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

  std::vector<std::string> madeFolders;
};

TEST_F(StartupPageTest, NineSourcesInOrderWithTheirMarkersAndIcons) {
  SeededKey userRun(HKEY_CURRENT_USER, kRun);
  userRun.SetSz("Orv1Run", "C:\\Orv\\run.exe /x");
  userRun.SetSz("Orv2Both", "C:\\Orv\\both.exe");
  userRun.Set("Orv3Expand", REG_EXPAND_SZ, std::string(" %WINDIR%\\orv.exe \t") + '\0');
  userRun.Set("Orv4Multi", REG_MULTI_SZ, std::string("C:\\a.exe\0\0", 10));
  test::ScopedRegValue unnamed(HKEY_CURRENT_USER, kRun, "");
  ASSERT_TRUE(unnamed.SetString("C:\\Orv\\unnamed.exe"));
  SeededKey userOnce(HKEY_CURRENT_USER, kRunOnce);
  userOnce.SetSz("Orv5Once", "C:\\Orv\\once.exe");
  SeededKey userWow(HKEY_CURRENT_USER, kWowRun);
  userWow.SetSz("Orv6WowUser", "C:\\Orv\\wowuser.exe");
  SeededKey machineRun(HKEY_LOCAL_MACHINE, kRun);
  machineRun.SetSz("Orv2Both", "C:\\Orv\\both.exe");
  SeededKey machineOnce(HKEY_LOCAL_MACHINE, kRunOnce);
  machineOnce.SetSz("Orv7MachineOnce", "C:\\Orv\\machineonce.exe");
  SeededKey machineWow(HKEY_LOCAL_MACHINE, kWowRun);
  machineWow.SetSz("Orv8Wow", "C:\\Orv\\wow.exe");
  // "hkey" decides the marker in exactly these capitals; an absent one gives the user's name.
  SeededKey upper(HKEY_LOCAL_MACHINE, std::string(kConfiguration) + "OrvCfg1", true);
  upper.SetSz("item", "OrvCfgUpper");
  upper.SetSz("command", "C:\\Orv\\cfg1.exe");
  upper.SetSz("hkey", "HKLM");
  SeededKey lower(HKEY_LOCAL_MACHINE, std::string(kConfiguration) + "OrvCfg2", true);
  lower.SetSz("item", "OrvCfgLower");
  lower.SetSz("command", "C:\\Orv\\cfg2.exe");
  lower.SetSz("hkey", "hklm");
  SeededKey none(HKEY_LOCAL_MACHINE, std::string(kConfiguration) + "OrvCfg3", true);
  none.SetSz("item", "OrvCfgNone");
  none.SetSz("command", "C:\\Orv\\cfg3.exe");

  TForm1& f = MakeStartup();
  SeedFolder(f.UserStartupDir);
  SeedFolder(f.CommonStartupDir);
  f.Show();
  UserPicksTab(f, 3);
  ASSERT_EQ(f.PageShowCount[3], 1);

  const std::string u = f.CurrentUserName;
  ASSERT_FALSE(u.empty());
  const std::vector<std::string> registry = {
      u + "|Orv1Run|C:\\Orv\\run.exe /x",    u + "|Orv2Both|C:\\Orv\\both.exe",
      u + "|Orv3Expand|%WINDIR%\\orv.exe",   u + "|Orv4Multi|",
      u + "|Orv5Once|C:\\Orv\\once.exe",     u + "|Orv6WowUser|C:\\Orv\\wowuser.exe",
      "Everyone|Orv2Both|C:\\Orv\\both.exe", "Everyone|Orv7MachineOnce|C:\\Orv\\machineonce.exe",
      "Everyone|Orv8Wow|C:\\Orv\\wow.exe",
  };
  auto folderRows = [&](const std::string& user) {
    return std::vector<std::string>{user + "|Broken.lnk|",
                                    user + "|OrvMissing.lnk|C:\\OrvNowhere\\gone.exe",
                                    user + "|OrvPlain.lnk|" + ThisProgram()};
  };
  const std::vector<std::string> configuration = {"All users|OrvCfgUpper|C:\\Orv\\cfg1.exe",
                                                  u + "|OrvCfgLower|C:\\Orv\\cfg2.exe",
                                                  u + "|OrvCfgNone|C:\\Orv\\cfg3.exe"};

  std::vector<std::string> rows = SeededRows(f);
  ASSERT_EQ(rows.size(), registry.size() + 6 + configuration.size());
  // A folder's shortcuts come in the order the file system gives; compare each folder as a set.
  const auto user = rows.begin() + static_cast<long>(registry.size());
  std::sort(user, user + 3);
  std::sort(user + 3, user + 6);
  std::vector<std::string> expected = registry;
  for (const std::string& marker : {u, std::string("All users")}) {
    for (const std::string& row : folderRows(marker)) expected.push_back(row);
  }
  expected.insert(expected.end(), configuration.begin(), configuration.end());
  EXPECT_EQ(rows, expected);

  EXPECT_LT(f.Page4List.ImageIndex(RowOf(f, "Broken.lnk", u)), 0);
  EXPECT_GE(f.Page4List.ImageIndex(RowOf(f, "OrvPlain.lnk", "All users")), 0);
  ExpectImagesInRowOrder(f);
  EXPECT_EQ(f.Page4List.Width(), 481);
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
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, current);
  SetCurrentDirectoryA(dir.c_str());
  Bytes(std::string(1, dir[0]) + ":\\OrvRoot.lnk", "root");
  f.UserStartupDir = "\\";
  f.Page4Show();
  SetCurrentDirectoryA(current);
  EXPECT_TRUE(SeededRows(f).empty());
}

TEST_F(StartupPageTest, AClickInTheLocationColumnSelectsTheRow) {
  SeededKey userRun(HKEY_CURRENT_USER, kRun);
  userRun.SetSz("OrvFirst", "C:\\Orv\\first.exe");
  userRun.SetSz("OrvSecond", "C:\\Orv\\second.exe");
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
  SeededKey userRun(HKEY_CURRENT_USER, kRun);
  userRun.SetSz("OrvPlainPath", program);
  userRun.SetSz("OrvQuoted", "\"" + program + "\" /min");
  userRun.SetSz("Foo & Bar Updater", program);
  TForm1& f = MakeStartup();
  SeedFolder(f.UserStartupDir);
  f.Page4Show();

  const std::string search = "https://www.google.com/search?hl=en&q=\"";
  const std::string noFolder = "box:No such folder|Careful";
  const std::string noFile = "box:No such file|Careful";
  const struct {
    std::string program;  // the row selected; empty: none
    std::string openFolder, launch, ask;
  } cases[] = {
      {"OrvPlainPath", "open:" + folder, "open:" + program, "open:" + search + "OrvPlainPath\""},
      {"OrvQuoted", noFolder, noFile, "open:" + search + "OrvQuoted\""},
      {"Broken.lnk", noFolder, noFile, "open:" + search + "Broken.lnk\""},
      {"Foo & Bar Updater", "open:" + folder, "open:" + program,
       "open:" + search + "Foo %26 Bar Updater\""},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program);
    ListView_SetItemState(f.Page4List.Handle(), -1, 0, LVIS_SELECTED);
    if (!c.program.empty()) f.Page4List.Select(RowOf(f, c.program, f.CurrentUserName));
    std::vector<std::string> done;
    for (void (TForm1::*action)(Label&) :
         {&TForm1::Page4Label01Click, &TForm1::Page4Label02Click, &TForm1::Page4Label03Click}) {
      outside.opened.clear();
      outside.messages.clear();
      (f.*action)(f.Page4Label01);
      std::string what;
      for (const auto& open : outside.opened) {
        EXPECT_EQ(open.owner, f.Handle());
        what += "open:" + open.target;
      }
      for (const auto& box : outside.messages) {
        EXPECT_EQ(box.owner, f.Handle());
        EXPECT_EQ(box.style, static_cast<UINT>(MB_OK));
        what += "box:" + box.text + "|" + box.caption;
      }
      done.push_back(what);
    }
    EXPECT_EQ(done, (std::vector<std::string>{c.openFolder, c.launch, c.ask}));
  }
}

}  // namespace
}  // namespace orv
