#include "app/SystemQueries.h"

#include <shlobj.h>

#include "app/ShellLink.h"
#include "base/TextRules.h"
#include "sysinfo/RegUnit.h"
#include "sysinfo/SysInfo.h"

namespace orv {
namespace {

// GetWindowsDirectoryA or GetSystemDirectoryA; empty when the folder does not fit MAX_PATH.
std::string ShortFolder(UINT(WINAPI* get)(LPSTR, UINT)) {
  char buffer[MAX_PATH + 1] = {};
  const UINT length = get(buffer, MAX_PATH);
  return length <= MAX_PATH ? UpToNul(buffer, length) : std::string();
}

}  // namespace

SystemQueries SystemQueries::Real() {
  SystemQueries q;
  q.programPath = [] {
    // Long paths: grow the buffer until the name fits.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
      std::string buffer(size, '\0');
      const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
      if (length < size) return UpToNul(buffer.data(), length);
    }
    return std::string();
  };
  q.windowsDirectory = [] { return ShortFolder(GetWindowsDirectoryA); };
  q.systemDirectory = [] { return ShortFolder(GetSystemDirectoryA); };
  q.folderPath = [](int folderId) {
    char buffer[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathA(nullptr, folderId, nullptr, SHGFP_TYPE_CURRENT, buffer))) {
      return std::string();
    }
    return UpToNul(buffer, sizeof(buffer));
  };
  q.exactFolderPath = [](int folderId) {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathW(nullptr, folderId, nullptr, SHGFP_TYPE_CURRENT, buffer))) {
      return std::wstring();
    }
    return std::wstring(buffer, wcsnlen(buffer, MAX_PATH + 1));
  };
  q.readRegistryString = [](HKEY root, const std::string& keyPath, const std::string& valueName) {
    return RegReadExactStr(root, keyPath, valueName);
  };
  q.computerName = [] { return GetComputerNameText(); };
  q.userName = [] { return GetCurrentUserNameText(); };
  q.createShellLink = [](ShellLink& link) { return link.Create(); };
  return q;
}

}  // namespace orv
