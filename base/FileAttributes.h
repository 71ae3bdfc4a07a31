// Whether a path names an existing file or an existing folder, from its attributes.
#pragma once

#include <windows.h>

#include <string>

namespace orv {

inline bool IsFolder(DWORD attributes) noexcept {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// True when path names a file that exists (a folder does not count).
inline bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !IsFolder(attributes);
}

inline bool FolderExists(const std::string& path) {
  return IsFolder(GetFileAttributesA(path.c_str()));
}
inline bool FolderExists(const std::wstring& path) {
  return IsFolder(GetFileAttributesW(path.c_str()));
}

}  // namespace orv
