// Icons for the startup and installed-program lists, and the switch that lets the 32-bit program
// see the real system folders of 64-bit Windows while it looks at files.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "base/Handles.h"

namespace orv {

// Switches the file-system redirection of the calling thread off (disable) or back on. Only on
// 64-bit Windows, recognised by a Program Files folder with "(X86)" in its name; returns whether
// the system function was found and called.
bool DisableWow64Redirection(bool disable, const std::string& programFilesDir);

// The redirection off for one scope, and on again however the scope ends.
class Wow64RedirectionOff {
 public:
  explicit Wow64RedirectionOff(std::string programFilesDir)
      : programFilesDir_(std::move(programFilesDir)) {
    DisableWow64Redirection(true, programFilesDir_);
  }
  ~Wow64RedirectionOff() { DisableWow64Redirection(false, programFilesDir_); }
  Wow64RedirectionOff(const Wow64RedirectionOff&) = delete;
  Wow64RedirectionOff& operator=(const Wow64RedirectionOff&) = delete;

 private:
  std::string programFilesDir_;
};

// The size of the icons that the functions below give: the image size of the list views.
constexpr int kListIconSize = 16;

// The first icon of the file at path, the caller's to keep; the icon of sysDir's msiexec.exe when
// the file does not exist or has none.
UniqueIcon GetFileIcon(const std::string& path, const std::string& sysDir);

// The icon of the installer product whose code in braces text holds (an uninstall command such as
// "MsiExec.exe /X{...}"): winDir's Installer\{code}\ARPPRODUCTICON.exe, else msiexec.exe's icon.
UniqueIcon GetMsiProductIcon(const std::string& text, const std::string& winDir,
                             const std::string& sysDir);

// The icons of one list fill: a memo in front of GetFileIcon and GetMsiProductIcon, so that each
// file is read once. Many rows share their program, their uninstaller or the msiexec.exe fallback,
// and reading an icon file is the slow part of a fill. The cache owns the icons (null: none), and
// the lists keep images of their own.
class IconCache {
 public:
  IconCache(const std::string& winDir, const std::string& sysDir)
      : winDir_(winDir), sysDir_(sysDir) {}

  // What GetFileIcon gives for path.
  HICON FileIcon(const std::string& path);
  // What GetMsiProductIcon gives for text.
  HICON MsiProductIcon(const std::string& text);

 private:
  // The icon that load gives for file, read only the first time a file is asked for. Every file
  // that does not exist shares one entry, "": they all show the fallback.
  template <typename Load>
  HICON Remember(const std::string& file, Load load);

  std::string winDir_;
  std::string sysDir_;
  // Keyed by the file read; "" stands for the fallback of files that do not exist.
  std::map<std::string, UniqueIcon> icons_;
  // What each path or product text asked for gave, so that it is looked at on disk once a fill.
  std::map<std::string, HICON> byPath_;
  std::map<std::string, HICON> byProduct_;
};

}  // namespace orv
