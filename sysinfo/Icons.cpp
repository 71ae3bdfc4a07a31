#include "sysinfo/Icons.h"

#include <utility>

#include "base/FileAttributes.h"
#include "base/SystemLibrary.h"
#include "base/TextRules.h"
#include "sysinfo/PathResolve.h"

namespace orv {
namespace {

// The file's first icon in the lists' size, or none. Taken at that size in the one read of the
// file: the file's own 16 x 16 image where it has one, else its nearest image scaled. Fitting the
// large icon afterwards cost as much again and showed the large image scaled down instead of the
// image drawn for that size. A file that is neither a program, a library nor an icon file gives
// no icon and so the fallback, like one without icons.
UniqueIcon FirstIcon(const std::string& path) {
  UniqueIcon icon;
  UINT id = 0;
  const UINT found =
      PrivateExtractIconsA(path.c_str(), 0, kListIconSize, kListIconSize, icon.Put(), &id, 1, 0);
  if (found == 0 || found == 0xFFFFFFFF) icon.Reset();
  return icon;
}

std::string InFolder(const std::string& folder, const char* name) {
  return (folder.empty() ? folder : WithTrailingBackslash(folder)) + name;
}

// Where the Windows Installer keeps the icon of the product whose code in braces text holds.
std::string ProductIconFile(const std::string& text, const std::string& winDir) {
  const std::size_t brace = text.find('{');
  const std::string product = brace == std::string::npos ? text : text.substr(brace);
  return InFolder(winDir, "Installer\\") + product + "\\ARPPRODUCTICON.exe";
}

// The first icon of existingFile (a file known to exist, or "" for none), or the icon of sysDir's
// msiexec.exe when there is no such file or it has no icon.
UniqueIcon IconOrFallback(const std::string& existingFile, const std::string& sysDir) {
  UniqueIcon icon = existingFile.empty() ? UniqueIcon() : FirstIcon(existingFile);
  return icon ? std::move(icon) : FirstIcon(InFolder(sysDir, "msiexec.exe"));
}

using RedirectionFn = BOOL(WINAPI*)(PVOID*);
using EnableRedirectionFn = BOOLEAN(WINAPI*)(BOOLEAN);

}  // namespace

bool DisableWow64Redirection(bool disable, const std::string& programFilesDir) {
  if (!NamesX86ProgramFiles(programFilesDir)) return false;
  // The functions are absent on 32-bit Windows and on XP before SP2, so they are looked up.
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (disable) {
    const auto disableFn = SystemFunction<RedirectionFn>(kernel, "Wow64DisableWow64FsRedirection");
    if (disableFn == nullptr) return false;
    // A pointer-sized slot: the 64-bit build's function writes eight bytes here.
    PVOID previous = nullptr;
    disableFn(&previous);
    return true;
  }
  const auto enableFn =
      SystemFunction<EnableRedirectionFn>(kernel, "Wow64EnableWow64FsRedirection");
  if (enableFn == nullptr) return false;
  enableFn(TRUE);
  return true;
}

UniqueIcon GetFileIcon(const std::string& path, const std::string& sysDir) {
  return IconOrFallback(FileExists(path) ? path : std::string(), sysDir);
}

UniqueIcon GetMsiProductIcon(const std::string& text, const std::string& winDir,
                             const std::string& sysDir) {
  const std::string iconFile = ProductIconFile(text, winDir);
  return IconOrFallback(FileExists(iconFile) ? iconFile : std::string(), sysDir);
}

template <typename Load>
HICON IconCache::Remember(const std::string& file, Load load) {
  const std::string key = FileExists(file) ? file : std::string();
  auto cached = icons_.find(key);
  // Kept as read: a copy of every icon for the cache would cost as much as reading it.
  if (cached == icons_.end()) cached = icons_.emplace(key, load()).first;
  return cached->second.Get();
}

HICON IconCache::FileIcon(const std::string& path) {
  const auto known = byPath_.find(path);
  if (known != byPath_.end()) return known->second;
  const HICON icon = Remember(path, [&] { return GetFileIcon(path, sysDir_); });
  byPath_.emplace(path, icon);
  return icon;
}

HICON IconCache::MsiProductIcon(const std::string& text) {
  const auto known = byProduct_.find(text);
  if (known != byProduct_.end()) return known->second;
  const HICON icon = Remember(ProductIconFile(text, winDir_),
                              [&] { return GetMsiProductIcon(text, winDir_, sysDir_); });
  byProduct_.emplace(text, icon);
  return icon;
}

}  // namespace orv
