// Whether a path lies on the network. The list fills look at the file each row names for its
// icon; on a share whose server is away (a laptop off the office network) every such look can
// block for tens of seconds, so the fills leave those files alone.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace orv {

// A full path on a share ("\\server\share\...", also with slashes or as "\\?\UNC\..."), any
// other path that starts with two separators except a drive in its long form ("\\?\C:\",
// "\\.\C:\"), or a path on a drive letter that isRemoteDrive names. Relative paths are not.
bool IsNetworkPath(std::string_view path, const std::function<bool(char drive)>& isRemoteDrive);

#ifdef _WIN32
// The drive types Windows reports, for one list fill: each drive is asked about once. A fill
// judges the path of every row, and each question opens the drive's root (about half a
// millisecond under Wine, most of a Startup fill's time when asked for every row).
class NetworkDrives {
 public:
  // path when a list fill may look at it, else empty text, which gives a missing file's icon:
  // the path made full against the current folder lies on the network (IsNetworkPath, with the
  // drive types Windows reports).
  std::string UnlessOnNetwork(const std::string& path);

 private:
  bool IsRemote(char drive);

  // Per letter A to Z: 0 not asked yet, 1 a network drive, -1 another kind.
  std::array<signed char, 26> known_{};
};
#endif

}  // namespace orv
