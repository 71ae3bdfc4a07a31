// The Installed programs page: the uninstall entries of the registry, filtered, de-duplicated by
// display name, sorted, and shown with their icons and publishers.
#include <string>
#include <unordered_set>

#include "app/Form1.h"
#include "app/Maker.h"
#include "base/Handles.h"
#include "pages/ProgramEntry.h"
#include "sysinfo/NetworkPath.h"

namespace orv {
namespace {

constexpr char kUninstallKey[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char kUninstallKey32[] =
    "\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

int UserLocaleCompare(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

}  // namespace

void TForm1::GetUninstallNames(HKEY root, const std::string& keyPath) {
  // The names listed so far, from this key and the ones read before it in this fill.
  std::unordered_set<std::string> listedNames;
  listedNames.reserve(InstalledProgramList.size());
  for (const std::string& entry : InstalledProgramList) {
    listedNames.emplace(ProgramEntryName(entry));
  }
  const char rootLetter = root == HKEY_CURRENT_USER ? 'U' : 'M';
  RegNameList subkeys;
  RegGetKeyNamesPaced(root, keyPath, subkeys, [this] { PaceMessages(); });
  for (const RegName& subkey : subkeys) {
    PaceMessages();
    const std::string subkeyPath = keyPath + subkey.text;
    const RegKeyReader64 reader(root, keyPath, subkey);
    UninstallValues values;
    values.flag = [&reader](const std::string& name) { return reader.ReadBool(name); };
    values.exists = [&reader](const std::string& name) { return reader.ValueExists(name); };
    values.text = [&reader](const std::string& name) { return reader.ReadStr(name); };
    std::optional<std::string> entry =
        AcceptUninstallEntry(values, rootLetter, subkeyPath, listedNames);
    if (!entry) continue;
    std::optional<std::string>& icon = displayIcons_[*entry];
    icon.reset();
    if (reader.ValueExists("DisplayIcon")) icon = reader.ReadStr("DisplayIcon");
    listedNames.emplace(ProgramEntryName(*entry));
    InstalledProgramList.push_back(std::move(*entry));
  }
}

void TForm1::Page5Show() {
  RunPageFill(4, [this] {
    Page5List.Clear();
    InstalledProgramList.clear();
    displayIcons_.clear();
    // The images of the previous Programs fill go; the Startup page's stay at their indexes.
    ImageList1.Truncate(StartupImageCount);

    GetUninstallNames(HKEY_CURRENT_USER, kUninstallKey);
    GetUninstallNames(HKEY_LOCAL_MACHINE, kUninstallKey);
    if (Is64BitWindows) GetUninstallNames(HKEY_LOCAL_MACHINE, kUninstallKey32);
    SortProgramEntries(InstalledProgramList, UserLocaleCompare);

    const PathFolders folders = CommandFolders();
    IconCache icons(WinDir, SysDir);
    NetworkDrives drives;
    ImageBatch images(ImageList1);
    images.Reserve(static_cast<int>(InstalledProgramList.size()));
    Page5List.Reserve(static_cast<int>(InstalledProgramList.size()));
    ListUpdate update(Page5List);
    const Wow64RedirectionOff redirection(ProgramFilesDir);
    for (const std::string& text : InstalledProgramList) {
      PaceMessages();
      const ProgramEntry entry = SplitProgramEntry(text);
      // An installer product's icon comes from its product code; any other from the file that
      // "DisplayIcon" names, or else from the file that the uninstall command starts.
      const bool msi = IsMsiProductCommand(entry.command);
      std::string source = entry.command;
      if (!msi) {
        const auto displayIcon = displayIcons_.find(text);
        if (displayIcon != displayIcons_.end() && displayIcon->second) {
          source = *displayIcon->second;
        }
        // A file on the network is not looked at: it could block the fill for as long as its
        // server is away.
        if (!source.empty()) source = drives.UnlessOnNetwork(CommandLineToPath(source, folders));
      }
      const HICON icon = msi ? icons.MsiProductIcon(source) : icons.FileIcon(source);
      const int row = Page5List.AddItem(entry.name, images.AddIcon(icon));
      Page5List.SetSubItem(row, 1, entry.publisher);
    }
    Page5List.SetWidth(481);
  });
}

void TForm1::Page5Label01Click(Label& /*sender*/) {
  OpenInShell(std::string(kMakerSite) + "/ferrowin/index.html");
}

}  // namespace orv
