// How the Startup and Installed programs fills look at files. They leave files on the network
// alone: a share whose server is away blocks each look at a file for tens of seconds. And they read
// each icon file once a fill, at the list's size. Watched at the program's own calls of
// GetFileAttributesA, PrivateExtractIconsA and CopyImage.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/TextRules.h"
#include "tests/support/ImportHook.h"
#include "tests/support/WinTestTools.h"
#include "tests/support/WindowTest.h"

namespace orv {
namespace {

constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::vector<std::string> touched;
bool watchAttributes = true;
void* originalAttributes = nullptr;
void* originalExtract = nullptr;

DWORD WINAPI RecordingAttributes(LPCSTR path) {
  if (watchAttributes) touched.emplace_back(path ? path : "");
  return reinterpret_cast<decltype(&GetFileAttributesA)>(originalAttributes)(path);
}

UINT WINAPI RecordingExtract(LPCSTR path, int index, int width, int height, HICON* icons, UINT* ids,
                             UINT count, UINT flags) {
  touched.emplace_back(path ? path : "");
  return reinterpret_cast<decltype(&PrivateExtractIconsA)>(originalExtract)(
      path, index, width, height, icons, ids, count, flags);
}

int copies = 0;
void* originalCopy = nullptr;

HANDLE WINAPI CountingCopy(HANDLE image, UINT type, int width, int height, UINT flags) {
  ++copies;
  return reinterpret_cast<decltype(&CopyImage)>(originalCopy)(image, type, width, height, flags);
}

// A drive letter Windows reports as a network drive, or 0. Under Wine, HKLM\Software\Wine\Drives
// gives a letter the type "network", read when the prefix's server starts.
char NetworkDriveLetter() {
  const DWORD drives = GetLogicalDrives();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const char root[] = {letter, ':', '\\', '\0'};
    if ((drives & (1u << (letter - 'A'))) && GetDriveTypeA(root) == DRIVE_REMOTE) return letter;
  }
  return 0;
}

struct NetworkCase {
  const char* why;
  std::string path;  // each names its own file, TOOL<index in the table>.EXE
};

class NetworkPathsPageTest : public test::WindowTest {
 protected:
  // Picks the tabs with the fills' reads of icon files recorded in touched, and their looks at
  // file attributes too when asked; copies counts the images fitted again.
  void PickWatched(TForm1& f, std::initializer_list<int> tabs, bool attributesToo) {
    touched.clear();
    copies = 0;
    test::ImportHook attributes("kernel32.dll", "GetFileAttributesA",
                                reinterpret_cast<void*>(&RecordingAttributes));
    test::ImportHook extract("user32.dll", "PrivateExtractIconsA",
                             reinterpret_cast<void*>(&RecordingExtract));
    test::ImportHook copy("user32.dll", "CopyImage", reinterpret_cast<void*>(&CountingCopy));
    ASSERT_TRUE(attributes.Ok() && extract.Ok() && copy.Ok());
    originalAttributes = attributes.Original();
    originalExtract = extract.Original();
    originalCopy = copy.Original();
    watchAttributes = attributesToo;
    for (const int tab : tabs) UserPicksTab(f, tab);
  }

  // Seeds a Run value, an uninstall command and a DisplayIcon naming each path, shows both list
  // pages, and expects every row listed and none of the files looked at.
  void ExpectFillsLeaveAlone(const std::vector<NetworkCase>& cases) {
    for (std::size_t i = 0; i < cases.size(); ++i) {
      const std::string name = "OrvNet" + std::to_string(i);
      const std::string& path = cases[i].path;
      registry.At(HKEY_CURRENT_USER, kRun, KEY_WOW64_64KEY).SetSz(name, "\"" + path + "\" /start");
      const auto entry = registry.Fresh(HKEY_CURRENT_USER, kUninstall + name, KEY_WOW64_64KEY);
      entry.SetSz("DisplayName", name);
      entry.SetSz("UninstallString", "\"" + path + "\" /remove");
      const auto withIcon =
          registry.Fresh(HKEY_CURRENT_USER, kUninstall + name + "X", KEY_WOW64_64KEY);
      withIcon.SetSz("DisplayName", name + "X");
      withIcon.SetSz("UninstallString", "C:\\uninstall.exe");
      withIcon.SetSz("DisplayIcon", path + ",0");
    }
    TForm1& f = Make();
    f.Show();
    PickWatched(f, {3, 4}, true);
    if (HasFatalFailure()) return;
    ASSERT_FALSE(touched.empty()) << "the hooks saw none of the fills' looks at files";
    for (std::size_t i = 0; i < cases.size(); ++i) {
      const std::string name = "OrvNet" + std::to_string(i);
      EXPECT_GE(test::RowWith(f.Page4List, {{2, name}}), 0) << cases[i].why;
      EXPECT_GE(test::RowWith(f.Page5List, {{0, name + "X"}}), 0) << cases[i].why;
      const std::string file = "\\ORVNET\\TOOL" + std::to_string(i) + ".EXE";
      for (const std::string& path : touched) {
        EXPECT_EQ(UpperAscii(path).find(file), std::string::npos) << cases[i].why << ": " << path;
      }
    }
  }
};

TEST_F(NetworkPathsPageTest, FillsNeverLookAtFilesOnShares) {
  ExpectFillsLeaveAlone({
      {"a share", "\\\\orvserver\\share\\OrvNet\\tool0.exe"},
      {"a share in the long form", "\\\\?\\UNC\\orvserver\\share\\OrvNet\\tool1.exe"},
  });
}

TEST_F(NetworkPathsPageTest, FillsNeverLookAtFilesOnNetworkDrives) {
  char letter = NetworkDriveLetter();
  // Under Wine a network drive of the test's own, through the mount manager as its
  // configuration tool makes one.
  std::unique_ptr<test::ScopedWineDrive> made;
  if (!letter && test::RunningOnWine()) {
    letter = test::FreeLetterFrom('N');
    made = std::make_unique<test::ScopedWineDrive>(letter, test::UnixFolderOfThisProgram(),
                                                   DRIVE_REMOTE);
    if (!made->Ok()) letter = 0;
  }
  if (!letter) GTEST_SKIP() << "no network drive here, and none can be made";
  const char root[] = {letter, ':', '\\', '\0'};
  ASSERT_EQ(GetDriveTypeA(root), static_cast<UINT>(DRIVE_REMOTE)) << root;
  ExpectFillsLeaveAlone({{"a network drive", std::string(1, letter) + ":\\OrvNet\\tool0.exe"}});
}

// Many rows share their program: its icon file is read once a fill, at the list's size, and the
// image goes to the list without being fitted again, which cost as much as the read.
TEST_F(NetworkPathsPageTest, EachIconFileIsReadOnceAFillAtTheListsSize) {
  const std::string notepad = test::WindowsFolder() + "notepad.exe";
  const std::string regedit = test::WindowsFolder() + "regedit.exe";
  const auto run = registry.At(HKEY_CURRENT_USER, kRun, KEY_WOW64_64KEY);
  run.SetSz("OrvIcon0", "\"" + notepad + "\" /a");
  run.SetSz("OrvIcon1", notepad + " -b");
  run.SetSz("OrvIcon2", "\"" + notepad + "\"");
  run.SetSz("OrvIcon3", "\"" + regedit + "\"");
  TForm1& f = Make();
  f.Show();
  PickWatched(f, {3}, false);
  if (HasFatalFailure()) return;
  std::map<std::string, int> reads;
  for (const std::string& path : touched) ++reads[UpperAscii(path)];
  EXPECT_EQ(reads[UpperAscii(notepad)], 1) << "three rows name " << notepad;
  EXPECT_EQ(reads[UpperAscii(regedit)], 1);
  for (const auto& [path, count] : reads) EXPECT_EQ(count, 1) << path;
  EXPECT_EQ(copies, 0) << "images fitted to the list again after the read";
}

}  // namespace
}  // namespace orv
