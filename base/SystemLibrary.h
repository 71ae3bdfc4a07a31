// Loading a Windows library that the program does not link at start.
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

}  // namespace orv
