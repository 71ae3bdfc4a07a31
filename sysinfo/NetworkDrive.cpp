#include <windows.h>

#include "sysinfo/NetworkPath.h"

namespace orv {

std::string UnlessOnNetwork(const std::string& path) {
  if (path.empty()) return path;
  // A relative path lies where the current folder is; making it full reads nothing from disk.
  char full[MAX_PATH * 2] = {};
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof(full), full, nullptr);
  const std::string_view judged =
      length > 0 && length < sizeof(full) ? std::string_view(full, length) : std::string_view(path);
  const auto remote = [](char drive) {
    const char root[] = {drive, ':', '\\', '\0'};
    return GetDriveTypeA(root) == DRIVE_REMOTE;
  };
  return IsNetworkPath(judged, remote) ? std::string() : path;
}

}  // namespace orv
