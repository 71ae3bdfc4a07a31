// The import tables of both built programs. Windows takes a DLL that is not a known DLL from the
// program's own folder first, so every DLL named there could be a planted copy beside a download,
// loaded (elevated) before the program's first line runs. And Windows XP refuses to start a
// program that imports a single function it lacks.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "tests/support/PeImports.h"

namespace orv {
namespace {

// The DLLs Windows always takes from the system folder (known DLLs on every supported Windows);
// comctl32 comes through the manifest's side-by-side dependency.
const std::vector<std::string> kSystemOnly = {"kernel32.dll", "user32.dll",  "gdi32.dll",
                                              "advapi32.dll", "shell32.dll", "ole32.dll",
                                              "msvcrt.dll",   "comctl32.dll"};

// The Orvendex.exe of each Windows build that has been built, with its imports.
class ImportTable : public testing::Test {
 protected:
  struct Program {
    std::string build, path;
    std::vector<test::PeFile::Import> imports;
  };

  void SetUp() override {
    for (const char* build : {"win64", "win32"}) {
      const std::string path = std::string(ORV_BUILD_ROOT) + "/" + build + "/bin/Orvendex.exe";
      const std::optional<test::PeFile> file = test::PeFile::Read(path);
      if (!file) continue;
      const auto imports = file->Imports();
      EXPECT_TRUE(imports && !imports->empty()) << path << ": no import table read";
      programs.push_back({build, path, imports.value_or(std::vector<test::PeFile::Import>{})});
    }
    if (programs.empty())
      GTEST_SKIP() << "neither Windows build has built Orvendex.exe under " ORV_BUILD_ROOT;
  }

  std::vector<Program> programs;
};

TEST_F(ImportTable, BothProgramsLoadOnlyDllsWindowsTakesFromTheSystemFolder) {
  for (const Program& program : programs) {
    for (const test::PeFile::Import& import : program.imports) {
      EXPECT_NE(std::find(kSystemOnly.begin(), kSystemOnly.end(), import.dll), kSystemOnly.end())
          << program.path << " imports " << import.dll;
    }
  }
}

// What Windows XP SP3 provides to a build: every function the toolchain's own headers declare
// for XP (WINVER and _WIN32_WINNT 0x0501) on that processor, which leave out what came later but
// for the few below. The build lists them with GCC's -aux-info, one a line:
// "/* file:line:NC */ extern BOOL Name (...);".
std::set<std::string> XpFunctions(const std::string& build) {
  std::set<std::string> names;
  std::ifstream in(ORV_XP_DECLARATIONS + build + ".txt");
  for (std::string line; std::getline(in, line);) {
    const std::size_t end = line.find(" (", line.find("*/"));
    const std::size_t start = line.find_last_of(" *", end - 1) + 1;
    if (end != std::string::npos) names.insert(line.substr(start, end - start));
  }
  return names;
}

// Later functions these headers declare for any version, which XP SP3 lacks (Microsoft gives
// Windows 8 or KB2533623, and Vista or XP x64); the program looks them up at run time.
const std::set<std::string> kDeclaredButNotOnXp = {"SetDefaultDllDirectories",
                                                   "AddDllDirectory",
                                                   "RemoveDllDirectory",
                                                   "Wow64DisableWow64FsRedirection",
                                                   "Wow64EnableWow64FsRedirection",
                                                   "Wow64RevertWow64FsRedirection"};

TEST_F(ImportTable, BothProgramsImportOnlyFunctionsWindowsXpHas) {
  for (const Program& program : programs) {
    const std::set<std::string> xp = XpFunctions(program.build);
    ASSERT_TRUE(xp.count("CreateFileA")) << ORV_XP_DECLARATIONS << program.build << " unread";
    for (const test::PeFile::Import& import : program.imports) {
      if (import.dll == "msvcrt.dll") continue;  // the C runtime: not these headers' to declare
      for (const std::string& function : import.functions) {
        EXPECT_TRUE(xp.count(function) && !kDeclaredButNotOnXp.count(function))
            << program.path << " imports " << function << " from " << import.dll
            << ", which Windows XP lacks: look it up at run time";
      }
    }
  }
}

}  // namespace
}  // namespace orv
