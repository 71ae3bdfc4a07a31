// The shell-link object that the Startup page uses to read shortcut files: one instance of the
// shell's link class, kept with its IUnknown, IShellLinkA and IPersistFile references for the
// program's lifetime. COM must be initialised on the thread first.
#pragma once

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

namespace orv {

class ShellLink {
 public:
  ShellLink() = default;
  ~ShellLink() { Release(); }
  ShellLink(const ShellLink&) = delete;
  ShellLink& operator=(const ShellLink&) = delete;

  // Creates the object (in-process or local server) and obtains both interfaces. On failure
  // nothing is held and the error is returned.
  HRESULT Create();
  void Release() noexcept;

  bool Valid() const noexcept { return link_ && file_; }
  IShellLinkA* Link() const noexcept { return link_; }
  IPersistFile* PersistFile() const noexcept { return file_; }

 private:
  IUnknown* unknown_ = nullptr;
  IShellLinkA* link_ = nullptr;
  IPersistFile* file_ = nullptr;
};

}  // namespace orv
