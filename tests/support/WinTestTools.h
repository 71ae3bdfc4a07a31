// Helpers of the Windows tests: running a console tool and capturing its output, reading a file
// or a folder, telling Wine from Windows, the last display device, reading wmic's drive table,
// adding a drive letter to the Wine prefix for one test.
#pragma once

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "base/CodePage.h"
#include "base/Handles.h"
#include "base/TextRules.h"

namespace orv::test {

inline bool RunningOnWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Runs a command line with its output captured; tools that write UTF-16 to a pipe (wmic) are
// converted to the ANSI code page. Carriage returns are dropped. Empty when it cannot start.
inline std::string RunAndCapture(std::string commandLine) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return "";
  UniqueHandleNull reader(readEnd);
  UniqueHandleNull writer(writeEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &si, &pi)) {
    return "";
  }
  UniqueHandleNull process(pi.hProcess);
  UniqueHandleNull thread(pi.hThread);
  writer.Reset();
  // Read until the tool has ended and the pipe is drained. End of file alone is not waited for:
  // a process the tool starts in passing (Wine's desktop process) may inherit the pipe and keep
  // it open for the rest of the session.
  std::string raw;
  const ULONGLONG deadline = GetTickCount64() + 60000;
  for (;;) {
    const bool ended = WaitForSingleObject(process.Get(), 10) == WAIT_OBJECT_0;
    DWORD available = 0;
    while (PeekNamedPipe(reader.Get(), nullptr, 0, nullptr, &available, nullptr) && available) {
      std::string chunk(available, '\0');
      DWORD got = 0;
      if (!ReadFile(reader.Get(), chunk.data(), available, &got, nullptr) || got == 0) break;
      raw.append(chunk, 0, got);
    }
    if (ended || GetTickCount64() > deadline) break;
  }

  const bool utf16 = raw.size() >= 2 && ((raw[0] == '\xFF' && raw[1] == '\xFE') ||
                                         (raw.size() >= 4 && raw[1] == '\0' && raw[3] == '\0'));
  if (utf16) {
    std::wstring wide(raw.size() / 2, L'\0');
    std::memcpy(wide.data(), raw.data(), wide.size() * sizeof(wchar_t));
    if (!wide.empty() && wide[0] == 0xFEFF) wide.erase(0, 1);
    raw = NarrowText(wide);
  }
  raw.erase(std::remove(raw.begin(), raw.end(), '\r'), raw.end());
  return raw;
}

// A file's bytes, or "" when it cannot be read.
inline std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Replaces the file's bytes, or makes it.
inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Every name in folder but "." and "..", so a test sees any file left behind.
inline std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &found));
  for (bool more = find.Valid(); more; more = FindNextFileA(find.Get(), &found)) {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  }
  return names;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

// The data of one value as "reg query <key> /v <value>" prints it, or "(missing)". view "/reg:64"
// reads the 64-bit view from the 32-bit test programs too, where a key lives only there.
inline std::string RegQueryValue(const std::string& key, const std::string& value,
                                 const std::string& view = "") {
  const std::string output =
      RunAndCapture("reg query \"" + key + "\" /v \"" + value + "\" " + view);
  for (const std::string& line : Lines(output)) {
    const std::string head = "    " + value + "    ";
    if (line.rfind(head, 0) != 0) continue;
    const std::size_t typeEnd = line.find("    ", head.size());
    if (typeEnd == std::string::npos) return "";
    return line.substr(typeEnd + 4);
  }
  return "(missing)";
}

// The name of the last display device the system lists, or "" when it lists none.
inline std::string LastDisplayDeviceName() {
  std::string name;
  for (DWORD i = 0;; ++i) {
    DISPLAY_DEVICEA device{};
    device.cb = sizeof(device);
    if (!EnumDisplayDevicesA(nullptr, i, &device, 0)) break;
    name = device.DeviceName;
  }
  return name;
}

// One row of "wmic logicaldisk get name,drivetype,filesystem,size": column -> text.
using WmicDisks = std::map<std::string, std::map<std::string, std::string>>;

// The logical disks as Wine's (or Windows') own wmic reports them, keyed by "C:". The columns are
// cut at the positions of the header's names, since an empty column leaves only blanks.
inline WmicDisks RunWmicLogicalDisk() {
  const auto lines =
      test::Lines(test::RunAndCapture("wmic logicaldisk get name,drivetype,filesystem,size"));
  WmicDisks disks;
  if (lines.empty()) return disks;
  const std::string& header = lines[0];
  std::vector<std::pair<std::string, std::size_t>> columns;
  for (std::size_t i = header.find_first_not_of(' '); i != std::string::npos;
       i = header.find_first_not_of(' ', i)) {
    const std::size_t end = std::min(header.find(' ', i), header.size());
    columns.emplace_back(header.substr(i, end - i), i);
    i = end;
  }
  for (std::size_t l = 1; l < lines.size(); ++l) {
    std::map<std::string, std::string> row;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const std::size_t from = columns[c].second;
      const std::size_t to = c + 1 < columns.size() ? columns[c + 1].second : std::string::npos;
      if (from >= lines[l].size()) continue;
      row[columns[c].first] = TrimControl(lines[l].substr(from, to - from));
    }
    if (!row["Name"].empty()) disks[row["Name"]] = row;
  }
  return disks;
}

// Wine's own interface for defining drives (the one its configuration tool uses): it creates the
// symlink in $WINEPREFIX/dosdevices and records the type under HKLM\Software\Wine\Drives.
struct WineUnixDrive {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDev;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive =
    CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

// devicePath, when given, is the Unix file the drive's raw volume (\\.\X:) reads.
inline bool DefineWineDrive(char letter, const std::string& unixPath, ULONG type,
                            const std::string& devicePath = "") {
  UniqueFile manager(CreateFileA("\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                 nullptr));
  if (!manager) return false;
  std::vector<char> buffer(sizeof(WineUnixDrive) + unixPath.size() + 1 + devicePath.size() + 1,
                           '\0');
  auto* request = reinterpret_cast<WineUnixDrive*>(buffer.data());
  request->size = static_cast<ULONG>(buffer.size());
  request->letter = static_cast<WCHAR>(std::tolower(letter));
  request->type = type;
  if (type != DRIVE_NO_ROOT_DIR) {
    std::memcpy(buffer.data() + sizeof(WineUnixDrive), unixPath.c_str(), unixPath.size());
    request->mountPointOffset = sizeof(WineUnixDrive);
    if (!devicePath.empty()) {
      const std::size_t at = sizeof(WineUnixDrive) + unixPath.size() + 1;
      std::memcpy(buffer.data() + at, devicePath.c_str(), devicePath.size());
      request->deviceOffset = static_cast<USHORT>(at);
    }
  }
  DWORD returned = 0;
  return DeviceIoControl(manager.Get(), kDefineUnixDrive, buffer.data(),
                         static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
}

// A drive letter added to the Wine prefix for one test and removed afterwards.
class ScopedWineDrive {
 public:
  ScopedWineDrive(char letter, const std::string& unixPath, ULONG type,
                  const std::string& devicePath = "")
      : letter_(letter), ok_(DefineWineDrive(letter, unixPath, type, devicePath)) {}
  ~ScopedWineDrive() {
    DefineWineDrive(letter_, "", DRIVE_NO_ROOT_DIR);
    // The mount manager leaves the letter's device name behind; without this the letter would
    // linger as a drive without a root for the rest of the prefix's session.
    DefineDosDeviceA(DDD_REMOVE_DEFINITION, std::string{letter_, ':'}.c_str(), nullptr);
  }
  bool Ok() const { return ok_; }

 private:
  char letter_;
  bool ok_ = false;
};

// Whether $WINEPREFIX/dosdevices holds the letter's symlink (seen through Wine's \\?\unix paths).
inline bool DosDeviceLinkExists(char letter) {
  const char* prefix = std::getenv("WINEPREFIX");
  if (!prefix) return false;
  std::string path = std::string("\\\\?\\unix") + prefix + "/dosdevices/" +
                     static_cast<char>(std::tolower(letter)) + ":";
  std::replace(path.begin(), path.end(), '/', '\\');
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline char FreeLetterFrom(char first) {
  for (char letter = first; letter < 'Z'; ++letter) {
    if (!(GetLogicalDrives() & (1u << (letter - 'A')))) return letter;
  }
  return 0;
}

// The folder one of the system's folder calls names, with its backslash.
inline std::string FolderNamedBy(UINT(WINAPI* name)(LPSTR, UINT)) {
  char dir[MAX_PATH] = {};
  name(dir, MAX_PATH);
  return std::string(dir) + "\\";
}
inline std::string SystemFolder() { return FolderNamedBy(GetSystemDirectoryA); }
inline std::string WindowsFolder() { return FolderNamedBy(GetWindowsDirectoryA); }

// The full path of the running test program.
inline std::string ThisProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

// The Unix folder of this test's build, as the drive's target (Wine maps Z: to the Unix root).
inline std::string UnixFolderOfThisProgram() {
  std::string folder = ThisProgram();
  folder.erase(folder.rfind('\\'));
  if (folder.size() < 2 || (folder[0] != 'Z' && folder[0] != 'z') || folder[1] != ':') return "";
  folder.erase(0, 2);
  std::replace(folder.begin(), folder.end(), '\\', '/');
  return folder;
}

}  // namespace orv::test
