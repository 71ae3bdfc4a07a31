// The floors of the two long fills: the same registry reads, shortcut loads and icon extractions
// as the Installed programs and Startup pages, done plainly (each key opened once, one icon per
// distinct file, no window). Also makes the benchmark's shortcuts.
//   bench_floor_reads programs <repetitions>   prints one time in ms per repetition
//   bench_floor_reads startup <repetitions>
//   bench_floor_reads links <count> <icon folder>   makes count shortcuts in each Startup folder
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "bench/BenchClock.h"

namespace {

constexpr char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kUninstall32[] =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string ReadText(HKEY key, const char* name) {
  char data[2048];
  DWORD size = sizeof(data) - 1;
  DWORD type = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return {};
  }
  data[size] = 0;
  return data;
}

std::vector<std::string> SubkeyNames(HKEY key) {
  std::vector<std::string> names;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof(name);
    if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    names.emplace_back(name, size);
  }
  return names;
}

// The file a command line or icon reference names: the quoted part, or the text up to ".exe",
// or the text before ",index".
std::string FileOf(std::string text) {
  if (!text.empty() && text[0] == '"') return text.substr(1, text.find('"', 1) - 1);
  const std::size_t exe = text.find(".exe");
  if (exe != std::string::npos) return text.substr(0, exe + 4);
  const std::size_t comma = text.rfind(',');
  return comma == std::string::npos ? text : text.substr(0, comma);
}

std::string SystemFile(const char* name) {
  char folder[MAX_PATH] = {};
  GetSystemDirectoryA(folder, MAX_PATH);
  return std::string(folder) + "\\" + name;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Each file's first icon at the lists' 16 x 16, as the pages take it.
void ExtractIcons(const std::set<std::string>& files) {
  for (const std::string& file : files) {
    HICON icon = nullptr;
    UINT id = 0;
    PrivateExtractIconsA(file.c_str(), 0, 16, 16, &icon, &id, 1, 0);
    const orv::UniqueIcon owned(icon);
  }
}

void ReadPrograms(HKEY root, const char* path, std::set<std::string>& iconFiles) {
  orv::UniqueKey key;
  if (RegOpenKeyExA(root, path, 0, KEY_READ | KEY_WOW64_64KEY, key.Put()) != ERROR_SUCCESS) return;
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  for (const std::string& name : SubkeyNames(key.Get())) {
    orv::UniqueKey entry;
    if (RegOpenKeyExA(key.Get(), name.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, entry.Put()) !=
        ERROR_SUCCESS) {
      continue;
    }
    DWORD flag = 0;
    DWORD size = sizeof(flag);
    RegQueryValueExA(entry.Get(), "SystemComponent", nullptr, nullptr,
                     reinterpret_cast<BYTE*>(&flag), &size);
    const std::string command = ReadText(entry.Get(), "UninstallString");
    const std::string quiet = ReadText(entry.Get(), "QuietUninstallString");
    const std::string displayName = ReadText(entry.Get(), "DisplayName");
    const std::string releaseType = ReadText(entry.Get(), "ReleaseType");
    const std::string publisher = ReadText(entry.Get(), "Publisher");
    const std::string displayIcon = ReadText(entry.Get(), "DisplayIcon");
    if (flag || displayName.empty() || (command.empty() && quiet.empty())) continue;
    const std::size_t brace = command.find('{');
    if (command.rfind("MsiExec", 0) == 0 && brace != std::string::npos) {
      const std::string product =
          std::string(windows) + "\\Installer\\" + command.substr(brace) + "\\ARPPRODUCTICON.exe";
      iconFiles.insert(FileExists(product) ? product : SystemFile("msiexec.exe"));
    } else {
      iconFiles.insert(FileOf(displayIcon.empty() ? command : displayIcon));
    }
  }
}

void Programs() {
  std::set<std::string> iconFiles;
  ReadPrograms(HKEY_CURRENT_USER, kUninstall, iconFiles);
  ReadPrograms(HKEY_LOCAL_MACHINE, kUninstall, iconFiles);
  ReadPrograms(HKEY_LOCAL_MACHINE, kUninstall32, iconFiles);
  ExtractIcons(iconFiles);
}

void ReadRunKey(HKEY root, const char* path, REGSAM view, std::set<std::string>& iconFiles) {
  orv::UniqueKey key;
  if (RegOpenKeyExA(root, path, 0, KEY_READ | view, key.Put()) != ERROR_SUCCESS) return;
  char name[256];
  char data[2048];
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof(name);
    DWORD dataSize = sizeof(data) - 1;
    DWORD type = 0;
    if (RegEnumValueA(key.Get(), i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data),
                      &dataSize) != ERROR_SUCCESS) {
      break;
    }
    data[dataSize] = 0;
    if (nameSize > 0 && (type == REG_SZ || type == REG_EXPAND_SZ)) iconFiles.insert(FileOf(data));
  }
}

std::string FolderPath(int id) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, id, nullptr, 0, path);
  return path;
}

void ReadShortcuts(IShellLinkA* link, const std::string& folder, std::set<std::string>& iconFiles) {
  IPersistFile* file = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) return;
  WIN32_FIND_DATAA found{};
  const orv::UniqueFind search(FindFirstFileA((folder + "\\*.lnk").c_str(), &found));
  if (search) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      wchar_t wide[MAX_PATH] = {};
      MultiByteToWideChar(CP_ACP, 0, (folder + "\\" + found.cFileName).c_str(), -1, wide, MAX_PATH);
      if (FAILED(file->Load(wide, 0))) continue;
      char target[MAX_PATH] = {};
      link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
      iconFiles.insert(FileOf(target));
    } while (FindNextFileA(search.Get(), &found));
  }
  file->Release();
}

void Startup(IShellLinkA* link) {
  std::set<std::string> iconFiles;
  constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  constexpr char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
  constexpr char kRun32[] = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    const REGSAM view = root == HKEY_LOCAL_MACHINE ? KEY_WOW64_64KEY : 0;
    for (const char* path : {kRun, kRunOnce, kRun32}) ReadRunKey(root, path, view, iconFiles);
  }
  ReadShortcuts(link, FolderPath(CSIDL_STARTUP), iconFiles);
  ReadShortcuts(link, FolderPath(CSIDL_COMMON_STARTUP), iconFiles);
  orv::UniqueKey config;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg",
                    0, KEY_READ | KEY_WOW64_64KEY, config.Put()) == ERROR_SUCCESS) {
    for (const std::string& name : SubkeyNames(config.Get())) {
      orv::UniqueKey entry;
      if (RegOpenKeyExA(config.Get(), name.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, entry.Put()) !=
          ERROR_SUCCESS) {
        continue;
      }
      ReadText(entry.Get(), "item");
      const std::string command = ReadText(entry.Get(), "command");
      ReadText(entry.Get(), "hkey");
      iconFiles.insert(FileOf(command));
    }
  }
  ExtractIcons(iconFiles);
}

void MakeLinks(IShellLinkA* link, int count, const std::string& iconFolder) {
  IPersistFile* file = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) return;
  for (const int folderId : {CSIDL_STARTUP, CSIDL_COMMON_STARTUP}) {
    const std::string folder = FolderPath(folderId);
    SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    for (int i = 0; i < count; ++i) {
      char target[MAX_PATH];
      std::snprintf(target, sizeof(target), "%s\\app%03d.exe", iconFolder.c_str(), (i * 11) % 160);
      link->SetPath(target);
      char name[MAX_PATH];
      std::snprintf(name, sizeof(name), "%s\\Bench Tool %02d.lnk", folder.c_str(), i);
      wchar_t wide[MAX_PATH] = {};
      MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH);
      file->Save(wide, TRUE);
    }
  }
  file->Release();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(
        stderr,
        "usage: bench_floor_reads programs|startup <repetitions> | links <count> <folder>\n");
    return 2;
  }
  const std::string mode = argv[1];
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                   reinterpret_cast<void**>(&link));
  int status = 0;
  if (mode == "links" && argc > 3 && link) {
    MakeLinks(link, std::atoi(argv[2]), argv[3]);
  } else if ((mode == "programs" || mode == "startup") && link) {
    const int repetitions = std::atoi(argv[2]);
    // One run first, untimed: every figure is taken with the files and keys in the cache.
    for (int i = 0; i <= repetitions; ++i) {
      const double start = orv::bench::NowMs();
      if (mode == "programs") {
        Programs();
      } else {
        Startup(link);
      }
      if (i > 0) std::printf("%.3f\n", orv::bench::NowMs() - start);
    }
  } else {
    status = 2;
  }
  if (link) link->Release();
  CoUninitialize();
  return status;
}
