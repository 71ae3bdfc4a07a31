// Loading a Windows library that the program does not link at start, and finding its functions.
#pragma once

#include <windows.h>

#include <string>

#include "base/TextRules.h"

namespace orv {

// Loads fileName from the system folder by its full path, never from the program's folder or the
// current directory where a planted copy could wait. The library stays loaded for the program's
// life; null when it cannot be loaded.
inline HMODULE LoadSystemLibrary(const char* fileName) {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return LoadLibraryA((WithTrailingBackslash(std::string(folder, length)) + fileName).c_str());
}

// The function name exports from module, as the pointer type Fn; null when the module is null or
// does not export it (an older Windows), which callers treat as a failed call.
template <typename Fn>
Fn SystemFunction(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace orv
