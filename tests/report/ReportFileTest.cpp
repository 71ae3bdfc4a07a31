// Replacing a saved report: the new one takes the old file's place and its identity.
#include "report/ReportFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/ImportHook.h"
#include "tests/support/WinTestTools.h"

namespace orv {
namespace {

std::string Folder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "orv-report-file-test\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

int FilesIn(const std::string& folder) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  int count = 0;
  if (search == INVALID_HANDLE_VALUE) return count;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

// Runs on Windows only: Wine's ReplaceFile moves the new file in without the old one's attributes.
TEST(ReportFile, AReplacedReportKeepsTheOldFilesAttributes) {
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
  const std::string folder = Folder();
  const std::string path = folder + "Report.txt";
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
    EXPECT_EQ(Contents(path), "new") << c.why;
    EXPECT_EQ(FilesIn(folder), 1) << c.why << ": a temporary file was left behind";
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & c.attributes, c.attributes) << c.why;
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
  RemoveDirectoryA(folder.c_str());
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

TEST(ReportFile, AFailedReplaceFallsBackToARenameAndNeverLosesTheReport) {
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
  const std::string folder = Folder();
  const std::string path = folder + "Report.txt";
  test::ImportHook replace("kernel32.dll", "ReplaceFileA",
                           reinterpret_cast<void*>(&FailingReplace));
  test::ImportHook move("kernel32.dll", "MoveFileExA",
                        reinterpret_cast<void*>(&MoveUnlessRenameFails));
  ASSERT_TRUE(replace.Ok() && move.Ok());
  originalMove = move.Original();
  for (const auto& c : cases) {
    replaceError = c.replaceError;
    renameFails = c.renameFails;
    std::ofstream(path, std::ios::binary) << "old";
    if (c.renameFails) {
      EXPECT_THROW(WriteReportFile(path, "new"), std::runtime_error) << c.why;
    } else {
      EXPECT_NO_THROW(WriteReportFile(path, "new")) << c.why;
    }
    EXPECT_EQ(Contents(path), c.renameFails ? "old" : "new") << c.why;
    EXPECT_EQ(FilesIn(folder), 1) << c.why << ": a temporary file was left behind";
  }
  DeleteFileA(path.c_str());
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace orv
