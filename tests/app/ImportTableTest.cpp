// The import tables of both built programs. Windows takes a DLL that is not a known DLL from the
// program's own folder first, so every DLL named there could be a planted copy beside a download,
// loaded (elevated) before the program's first line runs.
#include <gtest/gtest.h>

#include <algorithm>
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

TEST(ImportTable, BothProgramsLoadOnlyDllsWindowsTakesFromTheSystemFolder) {
  int read = 0;
  for (const char* build : {"win64", "win32"}) {
    const std::string path = std::string(ORV_BUILD_ROOT) + "/" + build + "/bin/Orvendex.exe";
    const std::optional<test::PeFile> file = test::PeFile::Read(path);
    if (!file) continue;
    ++read;
    const std::optional<std::vector<std::string>> dlls = file->ImportedDlls();
    ASSERT_TRUE(dlls) << path;
    EXPECT_FALSE(dlls->empty()) << path;
    for (const std::string& dll : *dlls) {
      EXPECT_NE(std::find(kSystemOnly.begin(), kSystemOnly.end(), dll), kSystemOnly.end())
          << path << " imports " << dll;
    }
  }
  if (read == 0)
    GTEST_SKIP() << "neither Windows build has built Orvendex.exe under " ORV_BUILD_ROOT;
}

}  // namespace
}  // namespace orv
