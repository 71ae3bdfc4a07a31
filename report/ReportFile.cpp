#include "report/ReportFile.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>

#include "base/Handles.h"
#include "ui/SystemErrorText.h"

namespace orv {
namespace {

[[noreturn]] void CannotCreate(const std::string& path, DWORD error) {
  throw std::runtime_error("Cannot create file \"" + path + "\". " + SystemErrorText(error));
}

[[noreturn]] void StreamWriteError() { throw std::runtime_error("Stream write error"); }

// Deletes the new file unless it took the target's place.
class TempFileGuard {
 public:
  TempFileGuard() = default;
  ~TempFileGuard() {
    if (!path_.empty()) DeleteFileA(path_.c_str());
  }
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  void Watch(const std::string& path) { path_ = path; }
  void Keep() { path_.clear(); }

 private:
  std::string path_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  // WriteFile takes a DWORD count; a report is small, but any size is written in pieces.
  constexpr std::size_t kPiece = 1u << 20;
  while (!bytes.empty()) {
    const auto piece = static_cast<DWORD>(std::min(bytes.size(), kPiece));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), piece, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// A name in the target's folder that no report takes, different at every call, so that the
// final step is a rename on the same volume.
std::string TempPathBeside(const std::string& path) {
  static std::atomic<unsigned long> counter{0};
  const std::size_t cut = path.find_last_of("\\/:");
  const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
  char name[64];
  wsprintfA(name, "~orv%lX-%lX.tmp", static_cast<unsigned long>(GetCurrentProcessId()),
            counter.fetch_add(1) + 1);
  return folder + name;
}

bool MoveOver(const std::string& temp, const std::string& path) {
  return MoveFileExA(temp.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// The failures of ReplaceFileA that a plain rename does not share: the old file's permissions
// could not be carried over (a share that lets the user change a file but not its permissions),
// or one of its own renames failed.
bool RenameMayStillWork(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED ||
         error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
}

// Moves the complete new file to path. A report that is there already is replaced so that the
// file keeps its identity: its attributes (hidden, say), its permissions and its creation time.
void PutInPlace(const std::string& temp, const std::string& path) {
  // A report another program holds open cannot be replaced, and a failed ReplaceFileA may leave
  // a temporary file of its own behind (Wine's does): such a target is refused first, with the
  // answer a move would give.
  UniqueFile held(CreateFileA(path.c_str(), DELETE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!held) {
    // Only a target that is not there is simply moved to; on any other failure the old report
    // stays as it was.
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) CannotCreate(path, error);
    if (!MoveOver(temp, path)) CannotCreate(path, GetLastError());
    return;
  }
  held.Reset();
  // Without a backup name a failed replace may already have deleted the old report; with one it
  // lies either under its own name or under the backup name, from where it can be put back.
  const std::string backup = TempPathBeside(path);
  if (ReplaceFileA(path.c_str(), temp.c_str(), backup.c_str(),
                   REPLACEFILE_WRITE_THROUGH | REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
    DeleteFileA(backup.c_str());
    return;
  }
  // A target that went away meanwhile is moved to, as is one that only ReplaceFileA failed on.
  DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || RenameMayStillWork(error)) {
    if (MoveOver(temp, path)) {
      DeleteFileA(backup.c_str());
      return;
    }
    error = GetLastError();
  }
  // The old report goes back under its name if the replace left it under the backup name; the
  // move never overwrites a file that is there.
  MoveFileExA(backup.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
  CannotCreate(path, error);
}

}  // namespace

void WriteReportFile(const std::string& path, std::string_view bytes) {
  // A read-only file or a folder of that name cannot be replaced on Windows; the check makes the
  // answer the same on every file system and before anything is written.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    CannotCreate(path, ERROR_ACCESS_DENIED);
  }

  // Declared before the file, so the file is closed before it is deleted.
  TempFileGuard guard;
  std::string temp;
  UniqueFile file;
  for (int attempt = 0; attempt < 100 && !file; ++attempt) {
    temp = TempPathBeside(path);
    file.Reset(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) CannotCreate(path, error);
    }
  }
  if (!file) CannotCreate(path, ERROR_FILE_EXISTS);
  guard.Watch(temp);

  if (!WriteAll(file.Get(), bytes) || !FlushFileBuffers(file.Get())) StreamWriteError();
  // Closing can be the moment a network drive reports that the data did not arrive.
  if (!CloseHandle(file.Release())) StreamWriteError();

  PutInPlace(temp, path);
  guard.Keep();
}

}  // namespace orv
