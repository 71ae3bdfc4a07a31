// Replacing a saved report: the new one takes the old file's place and its identity.
#include "report/ReportFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/ImportHook.h"
#include "tests/support/WinTestTools.h"

namespace orv {
namespace {

// A folder of the test's own under %TEMP%, removed with the report in it.
class ReportFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "orv-report-file-test";
    CreateDirectoryA(folder.c_str(), nullptr);
    // Whatever a failed earlier run left there goes first: the tests count the files.
    for (const std::string& name : test::FilesIn(folder)) {
      DeleteFileA((folder + "\\" + name).c_str());
    }
    path = folder + "\\Report.txt";
  }
  void TearDown() override {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
  }
  std::string folder;
  std::string path;
};

// Runs on Windows only: Wine's ReplaceFile moves the new file in without the old one's attributes.
TEST_F(ReportFile, AReplacedReportKeepsTheOldFilesAttributes) {
  if (test::RunningOnWine()) {
    GTEST_SKIP() << "Wine's ReplaceFile does not carry the replaced file's attributes over, as "
                    "Windows does";
  }
  const struct {
    const char* why;
    DWORD attributes;
  } cases[] = {
      {"a report the user hid", FILE_ATTRIBUTE_HIDDEN},
      {"a report marked as a system file", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN},
  };
  for (const auto& c : cases) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    WriteReportFile(path, "old");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), c.attributes)) << c.why;
    const DWORD before = GetFileAttributesA(path.c_str());
    if ((before & c.attributes) != c.attributes) {
      GTEST_SKIP() << "the file system keeps no such attribute: " << c.why;
    }
    WriteReportFile(path, "new");
    EXPECT_EQ(test::FileBytes(path), "new") << c.why;
    EXPECT_EQ(test::FilesIn(folder).size(), 1u) << c.why << ": a temporary file was left behind";
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & c.attributes, c.attributes) << c.why;
  }
}

// ReplaceFileA failing with its own errors, leaving the files as Microsoft documents: without a
// backup name ERROR_UNABLE_TO_MOVE_REPLACEMENT has deleted the old file, and
// ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 has moved it to the backup name.
DWORD replaceError = 0;
bool renameFails = false;
std::string replacement;
void* originalMove = nullptr;

BOOL WINAPI FailingReplace(LPCSTR replaced, LPCSTR newFile, LPCSTR backup, DWORD, LPVOID, LPVOID) {
  replacement = newFile;
  if (replaceError == ERROR_UNABLE_TO_MOVE_REPLACEMENT && !backup) DeleteFileA(replaced);
  if (replaceError == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 && backup) MoveFileA(replaced, backup);
  SetLastError(replaceError);
  return FALSE;
}

BOOL WINAPI MoveUnlessRenameFails(LPCSTR from, LPCSTR to, DWORD flags) {
  if (renameFails && replacement == from) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return reinterpret_cast<decltype(&MoveFileExA)>(originalMove)(from, to, flags);
}

TEST_F(ReportFile, AFailedReplaceFallsBackToARenameAndNeverLosesTheReport) {
  const struct {
    const char* why;
    DWORD replaceError;
    bool renameFails;  // then the old report stays and the error is shown
  } cases[] = {
      {"a share that refuses to carry the permissions over", ERROR_ACCESS_DENIED, false},
      {"the old report could not be removed", ERROR_UNABLE_TO_REMOVE_REPLACED, false},
      {"the new report could not be renamed", ERROR_UNABLE_TO_MOVE_REPLACEMENT, false},
      {"the new report could not be moved", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, false},
      {"not renamed, nor by a plain rename", ERROR_UNABLE_TO_MOVE_REPLACEMENT, true},
      {"not moved, nor by a plain rename", ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true},
  };
  test::ImportHook replace("kernel32.dll", "ReplaceFileA",
                           reinterpret_cast<void*>(&FailingReplace));
  test::ImportHook move("kernel32.dll", "MoveFileExA",
                        reinterpret_cast<void*>(&MoveUnlessRenameFails));
  ASSERT_TRUE(replace.Ok() && move.Ok());
  originalMove = move.Original();
  for (const auto& c : cases) {
    replaceError = c.replaceError;
    renameFails = c.renameFails;
    test::WriteBytes(path, "old");
    if (c.renameFails) {
      EXPECT_THROW(WriteReportFile(path, "new"), std::runtime_error) << c.why;
    } else {
      EXPECT_NO_THROW(WriteReportFile(path, "new")) << c.why;
    }
    EXPECT_EQ(test::FileBytes(path), c.renameFails ? "old" : "new") << c.why;
    EXPECT_EQ(test::FilesIn(folder).size(), 1u) << c.why << ": a temporary file was left behind";
  }
}

}  // namespace
}  // namespace orv
