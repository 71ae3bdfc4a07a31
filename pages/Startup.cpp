// The Startup page: the programs Windows starts by itself, and the actions on a selected row.
#include <windows.h>

#include <optional>
#include <string>

#include "app/Form1.h"
#include "app/Maker.h"
#include "base/CodePage.h"
#include "base/FileAttributes.h"
#include "base/Handles.h"
#include "base/TextRules.h"
#include "pages/StartupText.h"
#include "sysinfo/NetworkPath.h"

namespace orv {
namespace {

// Sub-items of a row; the row's own text (column 0) stays empty and carries the icon.
constexpr int kUserColumn = 1;
constexpr int kProgramColumn = 2;
constexpr int kLocationColumn = 3;

constexpr int kFilledListWidth = 481;
constexpr char kFixedAllUsers[] = "All users";
constexpr char kConfigurationKey[] = "\\SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\";

struct RegistrySource {
  HKEY root;
  const char* keyPath;
  bool machine;  // read in the 64-bit view and marked with the language file's all-users text
};

const RegistrySource kRegistrySources[] = {
    {HKEY_CURRENT_USER, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\", false},
    {HKEY_CURRENT_USER, "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\", false},
    {HKEY_CURRENT_USER, "\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run\\",
     false},
    {HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\", true},
    {HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\", true},
    {HKEY_LOCAL_MACHINE, "\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run\\",
     true},
};

// Redirection is off while the fill looks at files and on again however the fill ends; the
// Programs page places its images after this fill's, so the count is kept even then.
class StartupFillScope {
 public:
  explicit StartupFillScope(TForm1& form) : form_(form), redirection_(form.ProgramFilesDir) {}
  ~StartupFillScope() { form_.StartupImageCount = form_.ImageList1.Count(); }
  StartupFillScope(const StartupFillScope&) = delete;
  StartupFillScope& operator=(const StartupFillScope&) = delete;

 private:
  TForm1& form_;
  Wow64RedirectionOff redirection_;
};

// The component layer for one folder's shortcuts. Released only when this call initialised it
// (S_OK or S_FALSE): after a refusal there is nothing of ours to release.
class ComScope {
 public:
  ComScope() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComScope() {
    if (initialised_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialised_;
};

// What one fill keeps for all its rows: the icons read so far, the folders of command lines and
// the drive types.
struct StartupFill {
  TForm1& form;
  IconCache icons;
  ImageBatch images;
  PathFolders folders;
  NetworkDrives drives;
};

// The icon of the file a command line or target names, added to the shared image list; its
// index there, -1 when the list takes none.
int AddStartupIcon(StartupFill& fill, const std::string& commandLine) {
  // A file on the network is not looked at: it could block the fill for as long as its server
  // is away.
  const HICON icon = fill.icons.FileIcon(
      fill.drives.UnlessOnNetwork(CommandLineToPath(commandLine, fill.folders)));
  return fill.images.AddIcon(icon);
}

void AddStartupRow(TForm1& form, int image, const std::string& user, const std::string& program,
                   const std::optional<std::string>& location) {
  const int row = form.Page4List.AddItem("", image);
  form.Page4List.SetSubItem(row, kUserColumn, user);
  form.Page4List.SetSubItem(row, kProgramColumn, program);
  if (location) form.Page4List.SetSubItem(row, kLocationColumn, *location);
}

void AddRegistryRows(StartupFill& fill, const RegistrySource& source, RegNameList& names) {
  TForm1& form = fill.form;
  const NamePacer pace = [&form] { form.PaceMessages(); };
  if (source.machine) {
    RegGetValueNames64Paced(source.root, source.keyPath, names, pace);
  } else {
    RegGetValueNamesPaced(source.root, source.keyPath, names, pace);
  }
  fill.images.Reserve(static_cast<int>(names.size()));
  const RegKeyReader reader(source.root, source.keyPath, source.machine);
  const std::string user = source.machine
                               ? form.LookupLanguageText("Startup", "AllUsers", kFixedAllUsers)
                               : form.CurrentUserName;
  for (const RegName& name : names) {
    form.PaceMessages();
    if (name.exact.empty()) continue;  // the key's unnamed default value
    const std::string data = reader.ReadStr(name);
    AddStartupRow(form, AddStartupIcon(fill, data), user, name.text, data);
  }
}

// The raw target of the shortcut file at its exact path, or nothing when the file cannot be
// loaded.
std::optional<std::string> ShortcutTarget(const ShellLink& link, const std::wstring& path) {
  if (!link.Valid()) return std::nullopt;
  if (link.PersistFile()->Load(path.c_str(), STGM_READ) != S_OK) return std::nullopt;
  char target[MAX_PATH] = {};
  WIN32_FIND_DATAA found{};
  link.Link()->GetPath(target, MAX_PATH, &found, SLGP_RAWPATH);
  return UpToNul(target, sizeof(target));
}

// Listed by the folder's exact path and the files' exact names: a name with characters outside
// the code page loses them in the ANSI form, and that form names no folder and loads no shortcut.
void AddShortcutRows(StartupFill& fill, const std::wstring& folder, const std::string& user) {
  TForm1& form = fill.form;
  // A Startup folder the system did not name is kept as a lone backslash: that is the root of
  // the current drive, not a Startup folder.
  if (folder.empty() || folder == L"\\" || !FolderExists(folder)) return;
  const std::wstring prefix = WithTrailingBackslash(folder);
  WIN32_FIND_DATAW entry{};
  UniqueFind search(FindFirstFileW((prefix + L"*.lnk").c_str(), &entry));
  if (!search) return;
  ComScope com;
  do {
    form.PaceMessages();
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::wstring name(entry.cFileName, wcsnlen(entry.cFileName, MAX_PATH));
    const std::optional<std::string> target = ShortcutTarget(form.ShellLinkObject, prefix + name);
    AddStartupRow(form, target ? AddStartupIcon(fill, *target) : -1, user, CodePageText(name),
                  target);
  } while (FindNextFileW(search.Get(), &entry));
}

void AddConfigurationRows(StartupFill& fill, RegNameList& names) {
  TForm1& form = fill.form;
  RegGetKeyNamesPaced(HKEY_LOCAL_MACHINE, kConfigurationKey, names,
                      [&form] { form.PaceMessages(); });
  fill.images.Reserve(static_cast<int>(names.size()));
  for (const RegName& name : names) {
    form.PaceMessages();
    const RegKeyReader64 reader(HKEY_LOCAL_MACHINE, kConfigurationKey, name);
    const std::string item = reader.ReadStr("item");
    const std::string command = reader.ReadStr("command");
    const std::string hkey = reader.ReadStr("hkey");
    const std::string user = hkey == "HKLM" ? std::string(kFixedAllUsers) : form.CurrentUserName;
    AddStartupRow(form, AddStartupIcon(fill, command), user, item, command);
  }
}

// The selected row's sub-item, or nothing when no row is selected.
std::optional<std::string> SelectedText(const ListView& list, int subItem) {
  if (list.Count() == 0) return std::nullopt;
  const int row = list.Selected();
  if (row < 0) return std::nullopt;
  return list.ItemText(row, subItem);
}

}  // namespace

void TForm1::Page4Show() {
  RunPageFill(3, [this] {
    StartupFillScope scope(*this);
    Page4List.Clear();
    ImageList1.Clear();
    StartupFill fill{*this, IconCache(WinDir, SysDir), ImageBatch(ImageList1), CommandFolders(),
                     NetworkDrives()};
    ListUpdate update(Page4List);
    RegNameList names;
    for (const RegistrySource& source : kRegistrySources) AddRegistryRows(fill, source, names);
    AddShortcutRows(fill, UserStartupDirExact, CurrentUserName);
    AddShortcutRows(fill, CommonStartupDirExact, kFixedAllUsers);
    AddConfigurationRows(fill, names);
    Page4List.SetWidth(kFilledListWidth);
  });
}

void TForm1::Page4Label01Click(Label& /*sender*/) {
  const std::optional<std::string> location = SelectedText(Page4List, kLocationColumn);
  if (!location) return;
  const std::string folder = LocationFolder(*location);
  if (folder.empty() || !FolderExists(folder)) {
    World().ShowMessage(Handle(),
                        LookupLanguageText("Messages", "FolderNotFound", "Folder not found!"),
                        LookupLanguageText("Messages", "Warning", "Warning"), MB_OK);
    return;
  }
  OpenInShell(folder);
}

void TForm1::Page4Label02Click(Label& /*sender*/) {
  const std::optional<std::string> location = SelectedText(Page4List, kLocationColumn);
  if (!location) return;
  if (location->empty() || !FileExists(*location)) {
    World().ShowMessage(Handle(), LookupLanguageText("Messages", "FileNotFound", "File not found!"),
                        LookupLanguageText("Messages", "Warning", "Warning"), MB_OK);
    return;
  }
  OpenInShell(*location);
}

void TForm1::Page4Label03Click(Label& /*sender*/) {
  const std::optional<std::string> program = SelectedText(Page4List, kProgramColumn);
  if (program) OpenInShell(StartupSearchAddress(*program));
}

void TForm1::Page4Label04Click(Label& /*sender*/) {
  OpenInShell(std::string(kMakerSite) + "/lumarel/index.html");
}

}  // namespace orv
