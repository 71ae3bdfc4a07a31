#include <windows.h>

#include "sysinfo/NetworkPath.h"

namespace orv {

bool NetworkDrives::IsRemote(char drive) {
  const char root[] = {drive, ':', '\\', '\0'};
  const char letter = static_cast<char>(drive & ~0x20);  // upper case
  if (letter < 'A' || letter > 'Z') return GetDriveTypeA(root) == DRIVE_REMOTE;
  signed char& known = known_[static_cast<std::size_t>(letter - 'A')];
  if (known == 0) known = GetDriveTypeA(root) == DRIVE_REMOTE ? 1 : -1;
  return known > 0;
}

std::string NetworkDrives::UnlessOnNetwork(const std::string& path) {
  if (path.empty()) return path;
  // A relative path lies where the current folder is; making it full reads nothing from disk.
  char full[MAX_PATH * 2] = {};
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof(full), full, nullptr);
  const std::string_view judged =
      length > 0 && length < sizeof(full) ? std::string_view(full, length) : std::string_view(path);
  return IsNetworkPath(judged, [this](char drive) { return IsRemote(drive); }) ? std::string()
                                                                               : path;
}

}  // namespace orv
