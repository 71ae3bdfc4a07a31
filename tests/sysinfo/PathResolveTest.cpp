#include "sysinfo/NetworkPath.h"
#include "sysinfo/PathResolve.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <random>

namespace orv {
namespace {

const PathFolders kFolders{"C:\\Windows\\", "C:\\Users\\Ann\\"};

TEST(CommandLineToPath, StoredCommandLinesGiveTheirFile) {
  const struct {
    const char* commandLine;
    const char* path;
  } cases[] = {
      {"\"C:\\Program Files\\App\\app.exe\" -min", "C:\\PROGRAM FILES\\APP\\APP.EXE"},
      {"RUNDLL32.EXE C:\\WINDOWS\\SYSTEM32\\SHELL.DLL,ENTRY", "C:\\WINDOWS\\SYSTEM32\\SHELL.DLL"},
      {"C:\\WINDOWS\\SYSTEM32\\RUNDLL32.EXE C:\\APP\\APP.DLL,RUN",
       "C:\\WINDOWS\\SYSTEM32\\RUNDLL32.EXE"},
      {"%ProgramFiles%\\App\\App.exe", "C:\\Program Files\\APP\\APP.EXE"},
      {"%SystemRoot%\\notepad.exe", "C:\\Windows\\NOTEPAD.EXE"},
      {"%PROGRAMW6432%\\App\\a.exe", "C:\\Program Files\\APP\\A.EXE"},
      {"%CommonProgramFiles(x86)%\\Sys\\s.dll",
       "C:\\Program Files (x86)\\Common Files\\SYS\\S.DLL"},
      {"%userprofile%\\Tools\\t.cmd /q", "C:\\Users\\Ann\\TOOLS\\T.CMD"},
      {"C:\\TOOLS\\APP.SCR /S", "C:\\TOOLS\\APP.SCR /S"},  // no listed extension
      {"C:\\MY.DLLS\\APP.EXE", "C:\\MY.DLL"},              // a folder named like an extension
      {"START C:\\APP\\A.EXE", "C:\\APP\\A.EXE"},
      {"start app.exe", "APP.EXE"},
      {"  \t c:\\app\\setup.bat  arg\r\n", "C:\\APP\\SETUP.BAT"},
      {"C:\\APP\\ICONS.ICO,3", "C:\\APP\\ICONS.ICO"},
      {"2,D:ICONS.ICO", "D:ICONS.ICO"},  // a comma before the colon: the index goes
      {"APP,V1.2", "APP,V1.2"},          // a comma before the first dot stays
      {"SHELL,ENTRY", "SHE"},            // no dot: only three characters stay
      // A second drive path is cut before its drive letter, leaving the blank before it.
      {"C:\\TOOLS\\APP.SCR D:\\DATA", "C:\\TOOLS\\APP.SCR "},
      {"   \t\r\n ", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CommandLineToPath(c.commandLine, kFolders), c.path) << c.commandLine;
  }
}

TEST(CommandLineToPath, UpperCasesByTheSystemsRulesOrTheGivenOnes) {
  const UpperCaseFn latin1 = [](std::string_view text) {
    std::string out(text);
    for (char& c : out) {
      const auto b = static_cast<unsigned char>(c);
      if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) c = char(b - 32);
    }
    return out;
  };
  EXPECT_EQ(CommandLineToPath("c:\\caf\xE9\\a.exe", kFolders, latin1), "C:\\CAF\xC9\\A.EXE");
  EXPECT_EQ(CommandLineToPath("c:\\caf\xE9\\a.exe", kFolders, nullptr), "C:\\CAF\xE9\\A.EXE");
#ifdef _WIN32
  // Windows upper-cases by its code page, which knows the accented letters of the Western one.
  if (GetACP() != 1252) GTEST_SKIP() << "checked under the Western code page (1252) only";
  const std::string systemUpper = "C:\\CAF\xC9\\A.EXE";
#else
  const std::string systemUpper = "C:\\CAF\xE9\\A.EXE";  // ASCII letters only
#endif
  EXPECT_EQ(CommandLineToPath("c:\\caf\xE9\\a.exe", kFolders), systemUpper);
}

TEST(ExpandPathVariables, ReplacesUpperCaseTokensByFixedFolders) {
  // Found in upper case, every occurrence in any case is replaced; the replacement is not searched.
  EXPECT_EQ(ExpandPathVariables("%WINDIR%\\a;%windir%\\b;%USERPROFILE%\\c", kFolders),
            "C:\\Windows\\a;C:\\Windows\\b;C:\\Users\\Ann\\c");
  EXPECT_EQ(ExpandPathVariables("%windir%\\a", kFolders), "%windir%\\a");
  EXPECT_EQ(ExpandPathVariables("%WINDIR%a", kFolders), "%WINDIR%a");  // the backslash belongs
  EXPECT_EQ(ExpandPathVariables("%PROGRAMFILES(X86)%\\A %COMMONPROGRAMW6432%\\B", kFolders),
            "C:\\Program Files (x86)\\A C:\\Program Files\\Common Files\\B");
  // A folder given without its backslash still yields a path.
  EXPECT_EQ(ExpandPathVariables("%SYSTEMROOT%\\X", PathFolders{"D:\\WIN", ""}), "D:\\WIN\\X");
}

TEST(NamesX86ProgramFiles, RecognisesTheX86FolderInAnyCase) {
  EXPECT_TRUE(NamesX86ProgramFiles("C:\\Program Files (x86)\\"));
  EXPECT_TRUE(NamesX86ProgramFiles("D:\\PROGRAMME (X86)\\"));
  EXPECT_FALSE(NamesX86ProgramFiles("C:\\Program Files\\"));
  EXPECT_FALSE(NamesX86ProgramFiles("\\"));
}

TEST(CommandLineToPath, SurvivesArbitraryInput) {
  // Short texts built from the characters the rules react to, plus random bytes; run under the
  // sanitizers. A quote never survives the resolution.
  const std::string alphabet = ":\\.,\" %STARTEXEDLLCPLICO()X86WINDIRPROGRAMFILESUSER\t\x01\xE9";
  std::mt19937 random(20240611);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) {
      text.push_back(random() % 8 == 0 ? static_cast<char>(random() % 256)
                                       : alphabet[random() % alphabet.size()]);
    }
    if (round % 3 == 0) text = "%WINDIR%\\" + text + ",%USERPROFILE%\\";
    const std::string path = CommandLineToPath(text, kFolders);
    EXPECT_EQ(path.find('"'), std::string::npos) << text;
  }
}

TEST(IsNetworkPath, AFillLeavesSharesAndNetworkDrivesAlone) {
  // N: stands for a mapped network drive, every other letter for a local one.
  const auto remote = [](char drive) { return drive == 'N' || drive == 'n'; };
  const struct {
    const char* why;
    const char* path;
    bool network;
  } cases[] = {
      {"a share", "\\\\server\\share\\tool.exe", true},
      {"a share written with slashes", "//server/share/tool.exe", true},
      {"a share in the long form", "\\\\?\\UNC\\server\\share\\tool.exe", true},
      {"a server alone", "\\\\server", true},
      {"a device path other than a drive", "\\\\?\\GLOBALROOT\\Device\\Mup\\s\\t.exe", true},
      {"a network drive", "N:\\Tools\\tool.exe", true},
      {"a network drive in lower case", "n:\\tool.exe", true},
      {"a network drive in the long form", "\\\\?\\N:\\tool.exe", true},
      {"a local drive", "C:\\Tools\\tool.exe", false},
      {"a local drive in the long form", "\\\\?\\C:\\tool.exe", false},
      {"a local drive as a device", "\\\\.\\C:\\tool.exe", false},
      {"a drive-relative path", "C:tool.exe", false},
      {"nothing", "", false},
      {"a name without folder", "tool.exe", false},
      {"a root-relative path", "\\Tools\\tool.exe", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsNetworkPath(c.path, remote), c.network) << c.why;
}

}  // namespace
}  // namespace orv
