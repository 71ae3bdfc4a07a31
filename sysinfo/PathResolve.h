// Turns what the system stores for a startup entry or an installed program (a command line with
// quotes and arguments, a shortcut target with environment tokens, a library entry point after a
// comma) into the path of the file whose icon is shown. Platform-neutral.
#pragma once

#include <string>
#include <string_view>

namespace orv {

// The folders that replace environment tokens; each ends with a backslash.
struct PathFolders {
  std::string winDir;
  std::string userProfile;
};

// Upper-cases a whole text. CommandLineToPath's default is SystemUpperCase.
using UpperCaseFn = std::string (*)(std::string_view text);

// The system's own upper-casing: the ANSI code page's rules on Windows (CharUpperBuffA, which
// leaves the trail bytes of double-byte characters alone), ASCII letters elsewhere.
std::string SystemUpperCase(std::string_view text);

// True when the upper-cased folder name contains "(X86)": the Program Files folder that Windows
// gives a 32-bit program on 64-bit Windows.
bool NamesX86ProgramFiles(const std::string& programFilesDir);

// Replaces the environment tokens "%WINDIR%\", "%SYSTEMROOT%\", the Program Files tokens and
// "%USERPROFILE%\" by fixed folders. A token is only found in upper case; once found, every
// occurrence in any case is replaced.
std::string ExpandPathVariables(const std::string& text, const PathFolders& folders);

// The upper-cased file path named by a command line or raw path, or empty text for a blank one.
// Text that cannot be interpreted passes through and simply names no existing file.
std::string CommandLineToPath(const std::string& commandLine, const PathFolders& folders);
std::string CommandLineToPath(const std::string& commandLine, const PathFolders& folders,
                              UpperCaseFn upperCase);

}  // namespace orv
