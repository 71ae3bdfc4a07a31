#include "pages/ProcessList.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/HandleProbe.h"
#include "tests/support/SleepingCopies.h"
#include "tests/support/WinTestTools.h"

namespace orv {
namespace {

constexpr char kSleeperFlag[] = "--pages-sleeping-child";

const bool kIsSleeper = test::SleepIfAskedTo(kSleeperFlag);

long CountOf(const std::vector<std::string>& lines, const std::string& line) {
  return std::count(lines.begin(), lines.end(), line);
}

TEST(ProcessList, ContainsThisProgramsPath) {
  int records = 0;
  test::HandleProbe probe;
  const auto lines = ListProcessPaths([&records] { ++records; });
  EXPECT_TRUE(probe.NothingLeaked());
  EXPECT_GE(CountOf(lines, test::ThisProgram()), 1) << test::ThisProgram();
  EXPECT_GE(records, static_cast<int>(lines.size()));
  for (const std::string& line : lines) EXPECT_GE(line.size(), 1u);
}

TEST(ProcessList, TwoCopiesOfOneProgramGiveTwoLines) {
  // A copy of this program under a name of its own, so that other test programs running at the
  // same time cannot add lines of the same path.
  char tempDir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, tempDir);
  const std::string copy =
      std::string(tempDir) + "orv_sleeper_" + std::to_string(GetCurrentProcessId()) + ".exe";
  ASSERT_TRUE(CopyFileA(test::ThisProgram().c_str(), copy.c_str(), FALSE));
  {
    test::SleepingCopies copies(copy, kSleeperFlag, 2);
    ASSERT_EQ(copies.Count(), 2u);
    // The module path is readable once the loader has mapped the program; poll briefly.
    std::vector<std::string> lines;
    for (int attempt = 0; attempt < 50; ++attempt) {
      lines = ListProcessPaths({});
      if (CountOf(lines, copy) >= 2) break;
      Sleep(100);
    }
    std::string sample;
    for (const auto& line : lines) {
      if (line.find("orv_sleeper") != std::string::npos) sample += line + "\n";
    }
    EXPECT_EQ(CountOf(lines, copy), 2) << sample;
  }
  DeleteFileA(copy.c_str());
}

// Stand-ins for system functions (WINAPI, so they also fit the 32-bit build's pointers).
constexpr char kImagePath[] = "C:\\Image\\image.exe";
constexpr char kModulePath[] = "C:\\Module\\module.exe";
BOOL WINAPI GivenImagePath(HANDLE, DWORD, char* name, DWORD* size) {
  std::strcpy(name, kImagePath);
  *size = static_cast<DWORD>(std::strlen(kImagePath));
  return TRUE;
}
BOOL WINAPI NoImagePath(HANDLE, DWORD, char*, DWORD*) {
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}
BOOL WINAPI ShortImagePath(HANDLE, DWORD, char* name, DWORD* size) {
  std::strcpy(name, "ab");  // shorter than three characters
  *size = 2;
  return TRUE;
}
DWORD WINAPI GivenModulePath(HANDLE, HMODULE, char* name, DWORD) {
  std::strcpy(name, kModulePath);
  return static_cast<DWORD>(std::strlen(kModulePath));
}
DWORD WINAPI ShortModuleName(HANDLE, HMODULE, char* name, DWORD) {
  std::strcpy(name, "ab");
  return 2;
}
HANDLE WINAPI FailedSnapshot(DWORD, DWORD) { return INVALID_HANDLE_VALUE; }
BOOL WINAPI NoFirstRecord(HANDLE, PROCESSENTRY32*) { return FALSE; }

TEST(ProcessList, ImagePathFirstThenModulePathThenSnapshotName) {
  const std::string own = test::ThisProgram();
  const std::string fileName = own.substr(own.rfind('\\') + 1);
  const struct {
    const char* why;
    ProcessFunctions::ImageNameFn image;
    ProcessFunctions::ModuleFileNameFn module;  // null: PSAPI missing
    std::string expected;                       // this program's line
  } cases[] = {
      {"the image path comes first", GivenImagePath, GivenModulePath, kImagePath},
      {"the module path where the image path is refused", NoImagePath, GivenModulePath,
       kModulePath},
      {"the module path where the image path is too short", ShortImagePath, GivenModulePath,
       kModulePath},
      {"before Vista there is no image path", nullptr, SystemProcessFunctions().moduleFileName,
       own},
      {"the snapshot name where neither path has three characters", ShortImagePath, ShortModuleName,
       fileName},
      {"the snapshot name where no path can be asked for", nullptr, nullptr, fileName},
  };
  for (const auto& c : cases) {
    ProcessFunctions f = SystemProcessFunctions();
    ASSERT_NE(f.imageName, nullptr) << "QueryFullProcessImageNameA";
    f.imageName = c.image;
    f.moduleFileName = c.module;
    if (!c.module) f.enumModules = nullptr;
    const auto lines = ListProcessPaths(f, {});
    EXPECT_GE(CountOf(lines, c.expected), 1) << c.why;
    if (c.expected != own) {
      EXPECT_EQ(CountOf(lines, own), 0) << c.why;
    }
  }
}

TEST(ProcessList, NoSnapshotGivesAnEmptyList) {
  ProcessFunctions f = SystemProcessFunctions();
  int records = 0;
  f.createSnapshot = nullptr;
  EXPECT_TRUE(ListProcessPaths(f, [&records] { ++records; }).empty());
  f = SystemProcessFunctions();
  f.createSnapshot = FailedSnapshot;
  EXPECT_TRUE(ListProcessPaths(f, [&records] { ++records; }).empty());
  f = SystemProcessFunctions();
  f.first = NoFirstRecord;
  test::HandleProbe probe;
  EXPECT_TRUE(ListProcessPaths(f, [&records] { ++records; }).empty());
  EXPECT_TRUE(probe.NothingLeaked()) << "the snapshot is closed";
  EXPECT_EQ(records, 0);
}

}  // namespace
}  // namespace orv
