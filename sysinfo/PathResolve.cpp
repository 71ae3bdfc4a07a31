#include "sysinfo/PathResolve.h"

#include <array>

#include "base/TextRules.h"

namespace orv {
namespace {

enum class Folder { WinDir, UserProfile, Fixed };

struct PathToken {
  const char* token;
  Folder folder;
  const char* fixed;  // the replacement when folder is Fixed
};

// In the order they are processed. The Program Files folders are these texts on every system.
constexpr std::array<PathToken, 9> kPathTokens = {{
    {"%WINDIR%\\", Folder::WinDir, nullptr},
    {"%SYSTEMROOT%\\", Folder::WinDir, nullptr},
    {"%PROGRAMFILES%\\", Folder::Fixed, "C:\\Program Files\\"},
    {"%PROGRAMFILES(X86)%\\", Folder::Fixed, "C:\\Program Files (x86)\\"},
    {"%PROGRAMW6432%\\", Folder::Fixed, "C:\\Program Files\\"},
    {"%COMMONPROGRAMFILES%\\", Folder::Fixed, "C:\\Program Files\\Common Files\\"},
    {"%COMMONPROGRAMFILES(X86)%\\", Folder::Fixed, "C:\\Program Files (x86)\\Common Files\\"},
    {"%COMMONPROGRAMW6432%\\", Folder::Fixed, "C:\\Program Files\\Common Files\\"},
    {"%USERPROFILE%\\", Folder::UserProfile, nullptr},
}};

// The extensions at which a command line is cut, in the order they are tried.
constexpr std::array<const char*, 7> kCutExtensions = {".EXE", ".DLL", ".BAT", ".CMD",
                                                       ".CPL", ".APL", ".OCX"};

// Every token ends with a backslash, so its replacement must too, or the path would run together.
std::string FolderText(const std::string& folder) {
  return folder.empty() ? folder : WithTrailingBackslash(folder);
}

std::string Replacement(const PathToken& row, const PathFolders& folders) {
  switch (row.folder) {
    case Folder::WinDir:
      return FolderText(folders.winDir);
    case Folder::UserProfile:
      return FolderText(folders.userProfile);
    case Folder::Fixed:
      break;
  }
  return row.fixed;
}

// Replaces every occurrence of token, compared without regard to ASCII case, left to right; the
// replacement itself is not searched again.
std::string ReplaceAllIgnoringCase(const std::string& text, const std::string& token,
                                   const std::string& replacement) {
  const std::string upperText = UpperAscii(text);
  const std::string upperToken = UpperAscii(token);
  std::string out;
  std::size_t from = 0;
  for (std::size_t at = upperText.find(upperToken); at != std::string::npos;
       at = upperText.find(upperToken, from)) {
    out.append(text, from, at - from);
    out += replacement;
    from = at + token.size();
  }
  out.append(text, from, std::string::npos);
  return out;
}

std::string WithoutQuotes(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != '"') out.push_back(c);
  }
  return out;
}

// A comma introduces a library entry point or an icon index ("SHELL32.DLL,Control_RunDLL",
// "ICONS.ICO,3"); what follows it is not part of the file name.
void CutAtComma(std::string& text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) return;
  const std::size_t colon = text.find(':');
  if (colon != std::string::npos && comma < colon) text.erase(0, comma + 1);
  // Positions are compared as the 1-based positions they are, 0 standing for "no dot".
  const std::size_t commaPos = comma + 1;
  const std::size_t firstDot = text.find('.');
  const std::size_t firstDotPos = firstDot == std::string::npos ? 0 : firstDot + 1;
  if (commaPos > firstDotPos) {
    const std::size_t lastDot = text.rfind('.');
    const std::size_t lastDotPos = lastDot == std::string::npos ? 0 : lastDot + 1;
    if (lastDotPos + 3 < text.size()) text.resize(lastDotPos + 3);
  }
}

}  // namespace

bool NamesX86ProgramFiles(const std::string& programFilesDir) {
  return UpperAscii(programFilesDir).find("(X86)") != std::string::npos;
}

std::string ExpandPathVariables(const std::string& text, const PathFolders& folders) {
  std::string out = text;
  for (const PathToken& row : kPathTokens) {
    if (out.find(row.token) != std::string::npos) {
      out = ReplaceAllIgnoringCase(out, row.token, Replacement(row, folders));
    }
  }
  return out;
}

std::string CommandLineToPath(const std::string& commandLine, const PathFolders& folders) {
  return CommandLineToPath(commandLine, folders, &SystemUpperCase);
}

std::string CommandLineToPath(const std::string& commandLine, const PathFolders& folders,
                              UpperCaseFn upperCase) {
  std::string text = TrimControl(commandLine);
  if (text.empty()) return text;
  text = upperCase ? upperCase(text) : UpperAscii(text);
  text = WithoutQuotes(ExpandPathVariables(text, folders));

  // Whatever stands before the first drive path (a launcher such as RUNDLL32.EXE or START) goes.
  const std::size_t firstDrive = text.find(":\\");
  if (firstDrive != std::string::npos && firstDrive >= 2) text.erase(0, firstDrive - 1);

  // A second drive path is an argument: keep only what stands before its drive letter.
  const std::size_t secondDrive = text.find(":\\", 2);
  if (secondDrive != std::string::npos && secondDrive > 3) text.resize(secondDrive - 1);

  for (const char* extension : kCutExtensions) {
    const std::size_t at = text.find(extension);
    if (at != std::string::npos) text.resize(at + 4);
  }

  if (text.compare(0, 6, "START ") == 0) text.erase(0, 6);
  CutAtComma(text);
  return text;
}

}  // namespace orv
