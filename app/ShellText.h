// The application shell's fixed names and the text rules of its start-up state. Platform-neutral,
// so the host build tests them.
#pragma once

#include <functional>
#include <string>

namespace orv {

// The single-instance protocol shared by every copy of the program.
inline constexpr char kAppTitle[] = "Orvendel";
inline constexpr char kMutexName[] = "Orvendex";
inline constexpr char kRestoreMessageName[] = "QRVRestore";
inline constexpr unsigned kRestoreWParam = 1125;

// Resolved against the current directory, not the program's folder.
inline constexpr char kHelpFileName[] = "Orvendex.chm";

// The folder part of a program's full path: without its trailing backslash, except for a drive's
// root, which keeps it ("C:\Tools\Orvendex.exe" gives "C:\Tools", "C:\Orvendex.exe" gives "C:\").
std::string ProgramDirectory(const std::string& programPath);

// A path cut after its last backslash, the backslash kept ("C:\Users\User1\AppData\Roaming" gives
// "C:\Users\User1\AppData\"); empty when it has none.
std::string CutAfterLastBackslash(const std::string& path);

// The first of three sources that gives a non-empty text; the later ones are asked only when
// needed.
std::wstring FirstNonEmpty(const std::wstring& first, const std::function<std::wstring()>& second,
                           const std::function<std::wstring()>& third);

}  // namespace orv
