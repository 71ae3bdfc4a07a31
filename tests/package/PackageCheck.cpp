// Checks the unpacked download from inside Windows, with independent means: the program's version
// block and manifest as the version library and the resource loader read them; then, with --run,
// starts the program from its own folder as Explorer does, waits until its window shows the
// General rows, clicks "Help" and watches the help viewer open the help file. One line per check
// with its figures; the exit code is the number of failed checks.
//   package_check <unpacked folder> <version, e.g. 2.2.0.0> <win32|win64> [--run]
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "tests/support/WindowWalk.h"

namespace {

using orv::test::ChildrenOf;
using orv::test::ChildWithText;
using orv::test::ComputerName;
using orv::test::StartedProgram;
using orv::test::WaitUntil;
using orv::test::WindowText;
using orv::test::WindowTitled;

int failures = 0;

void Report(const char* check, bool ok, const std::string& figures) {
  std::printf("%s: %s - %s\n", check, ok ? "ok" : "FAILED", figures.c_str());
  std::fflush(stdout);
  if (!ok) ++failures;
}

std::string StringValue(const std::vector<char>& block, const std::string& path) {
  char* text = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length)) {
    return {};
  }
  return std::string(text, length && !text[length - 1] ? length - 1 : length);
}

void CheckVersionBlock(const std::string& exe, const std::string& version) {
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeA(exe.c_str(), &ignored));
  if (block.empty() || !GetFileVersionInfoA(exe.c_str(), 0, block.size(), block.data())) {
    Report("version", false, "no version block in " + exe);
    return;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  char numbers[64] = "none";
  if (VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &size) && fixed) {
    std::snprintf(numbers, sizeof numbers, "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
                  LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                  LOWORD(fixed->dwFileVersionLS));
  }
  // The strings under the first language and code page the block lists.
  WORD* translation = nullptr;
  char table[64] = "";
  if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                     reinterpret_cast<void**>(&translation), &size) &&
      size >= 4) {
    std::snprintf(table, sizeof table, "\\StringFileInfo\\%04x%04x\\", translation[0],
                  translation[1]);
  }
  const std::string fileVersion = StringValue(block, table + std::string("FileVersion"));
  const std::string productVersion = StringValue(block, table + std::string("ProductVersion"));
  const std::string product = StringValue(block, table + std::string("ProductName"));
  const std::string comments = StringValue(block, table + std::string("Comments"));
  Report("version",
         numbers == version && fileVersion == version && productVersion == version &&
             product == "Orvendel" && comments == "Freeware",
         std::string("file version ") + numbers + ", FileVersion \"" + fileVersion +
             "\", ProductVersion \"" + productVersion + "\", ProductName \"" + product +
             "\", Comments \"" + comments + "\"");
}

void CheckManifest(const std::string& exe, const std::string& version, const std::string& kind) {
  DWORD binaryType = ~0u;
  GetBinaryTypeA(exe.c_str(), &binaryType);
  const bool bitsAgree = binaryType == (kind == "win32" ? SCS_32BIT_BINARY : SCS_64BIT_BINARY);
  const orv::UniqueLibrary image(LoadLibraryExA(
      exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  HRSRC found = image ? FindResourceA(image.Get(), MAKEINTRESOURCEA(1), RT_MANIFEST) : nullptr;
  std::string text;
  if (found) {
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(image.Get(), found)));
    if (bytes) text.assign(bytes, SizeofResource(image.Get(), found));
  }
  const std::string wanted[] = {
      "name=\"Orvendex.exe\" version=\"" + version + "\"",
      "level=\"highestAvailable\" uiAccess=\"false\"",
      "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
  };
  std::string missing;
  for (const std::string& part : wanted) {
    if (text.find(part) == std::string::npos) missing += " [" + part + "]";
  }
  Report("manifest", bitsAgree && !text.empty() && missing.empty(),
         std::string(binaryType == SCS_32BIT_BINARY   ? "32-bit"
                     : binaryType == SCS_64BIT_BINARY ? "64-bit"
                                                      : "unknown") +
             " program" + (bitsAgree ? "" : " in the " + kind + " archive") + ", manifest of " +
             std::to_string(text.size()) + " bytes" +
             (missing.empty()
                  ? ": identity " + version + ", highestAvailable, themed common controls 6.0.0.0"
                  : ", lacking" + missing));
}

// The General page's thirteen rows as the program shows them in English: the platform ("Windows "
// and the version), the product name as the registry holds it, and eleven captions with ": " and
// the value.
std::vector<std::string> GeneralRowStarts() {
  char product[256] = {};
  DWORD size = sizeof product;
  RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName",
               RRF_RT_REG_SZ, nullptr, product, &size);
  std::vector<std::string> starts = {"Windows "};
  if (product[0]) starts.push_back(product);
  for (const char* caption :
       {"Product Id", "Computer name", "User name", "Registered owner", "Registered organization",
        "BIOS", "CPU", "Video", "Monitor", "Memory", "Keyboard language"}) {
    starts.push_back(std::string(caption) + ": ");
  }
  return starts;
}

std::set<DWORD> RunningProcesses(const char* exeName) {
  std::set<DWORD> ids;
  const orv::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.Get(), &entry); more;
       more = Process32Next(snapshot.Get(), &entry)) {
    if (lstrcmpiA(entry.szExeFile, exeName) == 0) ids.insert(entry.th32ProcessID);
  }
  return ids;
}

void RunProgram(const std::string& folder) {
  const std::string exe = folder + "\\Orvendex.exe";
  StartedProgram program;
  if (!program.Start(exe)) {
    Report("start", false,
           "cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")");
    return;
  }
  // The main window is titled with the computer's name; its rows hold their captions and ": "
  // once the General page has filled them.
  const std::string computer = ComputerName();
  HWND form = nullptr;
  const std::vector<std::string> starts = GeneralRowStarts();
  std::vector<std::string> rows;
  const bool shown = WaitUntil(
      [&] {
        rows.clear();
        form = WindowTitled(program.Id(), computer);
        if (!form) return false;
        std::vector<std::string> texts;
        for (HWND child : ChildrenOf(form)) texts.push_back(WindowText(child));
        for (const std::string& start : starts) {
          for (const std::string& text : texts) {
            if (text.rfind(start, 0) == 0) {
              rows.push_back(text);
              break;
            }
          }
        }
        return rows.size() == starts.size();
      },
      60000);
  const ULONGLONG took = GetTickCount64() - program.Started();
  const std::string computerRow = std::string("Computer name: ") + computer;
  bool computerShown = false;
  for (const std::string& row : rows) computerShown |= row == computerRow;
  std::string figures = std::to_string(rows.size()) + " of " + std::to_string(starts.size()) +
                        " General rows after " + std::to_string(took) + " ms";
  for (const std::string& row : rows) figures += "; " + row;
  Report("start", shown && computerShown, figures);

  if (shown) {
    // "Help" is a label; a click on it is what the program reacts to.
    HWND help = ChildWithText(form, "Help");
    const std::set<DWORD> viewersBefore = RunningProcesses("hh.exe");
    if (help) {
      PostMessageA(help, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      PostMessageA(help, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
    DWORD viewer = 0;
    HWND warning = nullptr;
    bool viewerOpened = false;
    WaitUntil(
        [&] {
          warning = WindowTitled(program.Id(), "Warning");
          for (DWORD id : RunningProcesses("hh.exe")) {
            if (!viewersBefore.count(id)) viewer = id;
          }
          viewerOpened = viewer && WindowTitled(viewer, "Orvendel Help");
          return warning || viewerOpened;
        },
        30000);
    const bool warned = warning != nullptr;
    // OK on the box, or the window cannot be closed below.
    if (warning) PostMessageA(warning, WM_COMMAND, IDOK, 0);
    Report("help", help && viewerOpened && !warned,
           !help     ? "no \"Help\" link in the window"
           : warned  ? "the program said \"Help file not found!\""
           : !viewer ? "no help viewer started"
           : viewerOpened
               ? "hh.exe opened Orvendex.chm beside the program: window \"Orvendel Help\""
               : "hh.exe started but showed no \"Orvendel Help\" window");
    if (viewer) {
      const orv::UniqueHandleNull viewerProcess(OpenProcess(PROCESS_TERMINATE, FALSE, viewer));
      if (viewerProcess) TerminateProcess(viewerProcess.Get(), 0);
    }
  }

  if (form) PostMessageA(form, WM_CLOSE, 0, 0);
  DWORD exitCode = STILL_ACTIVE;
  program.Ended(15000, exitCode);
  Report("close", exitCode == 0,
         exitCode == STILL_ACTIVE ? "the program did not end within 15 s of closing its window"
                                  : "ended with exit code " + std::to_string(exitCode));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: package_check <unpacked folder> <version> <win32|win64> [--run]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::string exe = folder + "\\Orvendex.exe";
  CheckVersionBlock(exe, argv[2]);
  CheckManifest(exe, argv[2], argv[3]);
  if (argc > 4 && std::string(argv[4]) == "--run") RunProgram(folder);
  return failures;
}
