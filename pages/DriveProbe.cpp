#include "pages/DriveProbe.h"

#include <windows.h>

#include <cstring>

#include "base/Handles.h"
#include "base/TextRules.h"

namespace orv {

std::uint8_t DriveFsKind = 0;
std::uint32_t RawSectorSize = 0;

namespace {

// Card readers and floppy drives without a medium would otherwise make Windows ask the user to
// insert a disk; the probe must stay silent. The caller's mode is put back afterwards.
class QuietErrorMode {
 public:
  QuietErrorMode() noexcept
      : previous_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
  ~QuietErrorMode() { SetErrorMode(previous_); }
  QuietErrorMode(const QuietErrorMode&) = delete;
  QuietErrorMode& operator=(const QuietErrorMode&) = delete;

 private:
  UINT previous_;
};

std::string VolumeFsName(const std::string& root) {
  char fsName[260] = {};
  DWORD serial = 0;
  DWORD maxComponent = 0;
  DWORD flags = 0;
  if (!GetVolumeInformationA(root.c_str(), nullptr, 0, &serial, &maxComponent, &flags, fsName,
                             sizeof fsName)) {
    return "";
  }
  return UpToNul(fsName, sizeof fsName);
}

}  // namespace

std::uint8_t GetDriveFileSystemKind(const std::string& drive) {
  QuietErrorMode quiet;
  return DecideFsKind(
      drive, VolumeFsName,
      [&drive](unsigned char* buffer, std::uint32_t count) {
        return ReadVolumeSectors(drive, 0, buffer, count);
      },
      RawSectorSize);
}

bool ReadVolumeSectors(const std::string& drive, std::uint32_t sector, void* buffer,
                       std::uint32_t count) {
  std::memset(buffer, 0, count);
  QuietErrorMode quiet;
  const std::string device = "\\\\.\\" + drive;
  UniqueFile volume(CreateFileA(device.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  if (!volume) return false;
  const std::uint64_t position = std::uint64_t{sector} * RawSectorSize;
  OVERLAPPED at = {};
  at.Offset = static_cast<DWORD>(position & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(position >> 32);
  DWORD read = 0;
  // A volume that ends before the sectors asked for gives no partial answer.
  if (!ReadFile(volume.Get(), buffer, count, &read, &at) || read != count) {
    std::memset(buffer, 0, count);
    return false;
  }
  return true;
}

std::vector<DriveRow> ListDrives(const PageSources& sources,
                                 const std::function<void()>& processMessages,
                                 const LookupFn& lookup) {
  DriveListQueries queries;
  queries.logicalDrives = sources.logicalDrives;
  queries.driveType = sources.driveType;
  queries.fsKind = sources.fsKind;
  queries.processMessages = processMessages ? processMessages : [] {};
  return ListDriveRows(queries, lookup, DriveFsKind);
}

void QueryDriveSpace(char letter, std::int64_t& size, std::int64_t& free) {
  QuietErrorMode quiet;
  const std::string root{letter, ':', '\\'};
  ULARGE_INTEGER available = {};
  ULARGE_INTEGER total = {};
  if (GetDiskFreeSpaceExA(root.c_str(), &available, &total, nullptr)) {
    size = static_cast<std::int64_t>(total.QuadPart);
    free = static_cast<std::int64_t>(available.QuadPart);
  } else {
    size = -1;
    free = -1;
  }
}

}  // namespace orv
