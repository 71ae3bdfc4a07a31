// What the main window asks of the system while it prepares its shared state: the program's
// path, the Windows folders, the shell's special folders, the registry fallbacks of the Startup
// folders, the computer and user names and the shell-link object. The program uses the real
// answers; window-level tests replace some of them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace orv {

class ShellLink;

struct SystemQueries {
  std::function<std::string()> programPath;             // GetModuleFileNameA of the program
  std::function<std::string()> windowsDirectory;        // GetWindowsDirectoryA
  std::function<std::string()> systemDirectory;         // GetSystemDirectoryA
  std::function<std::string(int folderId)> folderPath;  // SHGetFolderPathA, current path
  // The Startup folders by their exact paths: a profile path may hold characters outside the code
  // page, and the code page's form of it names no folder.
  std::function<std::wstring(int folderId)> exactFolderPath;  // SHGetFolderPathW, current path
  std::function<std::wstring(HKEY root, const std::string& keyPath, const std::string& valueName)>
      readRegistryString;                     // RegReadExactStr
  std::function<std::string()> computerName;  // GetComputerNameText
  std::function<std::string()> userName;      // GetCurrentUserNameText
  std::function<HRESULT(ShellLink& link)> createShellLink;

  static SystemQueries Real();
};

// Shell folder ids asked for at creation.
inline constexpr int kFolderProgramFiles = 38;
inline constexpr int kFolderAppData = 26;
inline constexpr int kFolderStartup = 7;
inline constexpr int kFolderCommonStartup = 24;
inline constexpr int kFolderProfile = 40;

}  // namespace orv
