// Saves a shortcut file, as the tests of the Startup page and the reliability checks seed them.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <string>

namespace orv::test {

// Writes a shortcut at path that points at target; S_OK when the file was saved. COM must be
// initialised on the calling thread.
inline HRESULT SaveShortcut(const std::wstring& path, const std::string& target) {
  IShellLinkA* link = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&link));
  if (FAILED(result)) return result;
  link->SetPath(target.c_str());
  IPersistFile* file = nullptr;
  result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(result)) {
    result = file->Save(path.c_str(), TRUE);
    file->Release();
  }
  link->Release();
  return result;
}

inline HRESULT SaveShortcut(const std::string& path, const std::string& target) {
  return SaveShortcut(std::wstring(path.begin(), path.end()), target);
}

}  // namespace orv::test
