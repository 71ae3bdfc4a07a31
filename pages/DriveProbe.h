// The Drives page's questions to Windows: the file-system kind of a drive (volume information, then
// the raw first sector), the raw read itself, the listing of the drives and the space of a chosen
// drive. No window is touched; the page handlers put the results into their labels and chart.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/PageSources.h"
#include "pages/DriveText.h"

namespace orv {

// The file-system kind of the drive examined last (0, 16, 32 or 64), kept for the whole run of the
// program: a drive that is neither removable nor fixed is listed under the kind carried over.
extern std::uint8_t DriveFsKind;

// Bytes per raw read, set by the raw probe (512 x k).
extern std::uint32_t RawSectorSize;

// The kind of the drive "C:": 16 for "FAT", 32 for "FAT32", 64 for "NTFS" as the volume reports
// it, otherwise what the raw first sector shows. Never raises the system's "no disk in the drive"
// box for a drive without a medium.
std::uint8_t GetDriveFileSystemKind(const std::string& drive);

// Reads count bytes of the raw volume of drive ("C:") at sector x RawSectorSize into buffer (which
// is zero-filled first). True when the read succeeded.
bool ReadVolumeSectors(const std::string& drive, std::uint32_t sector, void* buffer,
                       std::uint32_t count);

// Lists the drives as Page2Show does, with the sources' drive queries and DriveFsKind;
// processMessages runs once per letter A to Z so the window stays responsive while drives are
// probed.
std::vector<DriveRow> ListDrives(const PageSources& sources,
                                 const std::function<void()>& processMessages,
                                 const LookupFn& lookup);

// Total bytes and bytes available to the user of the drive with this letter; -1 and -1 when the
// query fails.
void QueryDriveSpace(char letter, std::int64_t& size, std::int64_t& free);

}  // namespace orv
