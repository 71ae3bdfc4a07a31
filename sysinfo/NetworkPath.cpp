#include "sysinfo/NetworkPath.h"

namespace orv {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "X:" at the start of text.
bool StartsWithDrive(std::string_view text) {
  return text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == ':';
}

}  // namespace

bool IsNetworkPath(std::string_view path, const std::function<bool(char drive)>& isRemoteDrive) {
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // "\\?\C:\..." and "\\.\C:\..." name a drive; every other such path reaches past the drives.
    const bool device =
        path.size() >= 4 && (path[2] == '?' || path[2] == '.') && IsSeparator(path[3]);
    if (!device || !StartsWithDrive(path.substr(4))) return true;
    path.remove_prefix(4);
  }
  return StartsWithDrive(path) && isRemoteDrive(path[0]);
}

}  // namespace orv
