// Whether a path lies on the network. The list fills look at the file each row names for its
// icon; on a share whose server is away (a laptop off the office network) every such look can
// block for tens of seconds, so the fills leave those files alone.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orv {

// A full path on a share ("\\server\share\...", also with slashes or as "\\?\UNC\..."), any
// other path that starts with two separators except a drive in its long form ("\\?\C:\",
// "\\.\C:\"), or a path on a drive letter that isRemoteDrive names. Relative paths are not.
bool IsNetworkPath(std::string_view path, const std::function<bool(char drive)>& isRemoteDrive);

#ifdef _WIN32
// path when a list fill may look at it, else empty text, which gives a missing file's icon: the
// path made full against the current folder lies on the network (IsNetworkPath, with the drive
// types Windows reports).
std::string UnlessOnNetwork(const std::string& path);
#endif

}  // namespace orv
