// Where the General, Drives and Memory pages get their facts. The program uses the system's
// answers; window-level tests replace single queries (a memory load of 100, a 500 Gb drive) and
// see the real page handlers fill the real controls from them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "pages/DriveText.h"
#include "pages/GeneralText.h"

namespace orv {

struct PageSources {
  GeneralSources general;

  // Drives: the listing's queries (its processMessages is the window's) and a drive's space,
  // -1 and -1 when the query fails.
  std::function<std::uint32_t()> logicalDrives;
  std::function<unsigned(const std::string& root)> driveType;
  std::function<std::uint8_t(const std::string& drive)> fsKind;
  std::function<void(char letter, std::int64_t& size, std::int64_t& free)> driveSpace;

  // Memory.
  std::function<std::uint8_t()> memoryLoad;
  std::function<std::uint64_t()> totalPhysicalMemory;
  std::function<std::uint64_t()> totalVirtualMemory;
  std::function<std::vector<std::string>(const std::function<void()>& beforeEachProcess)>
      processPaths;

  static PageSources Real();
};

}  // namespace orv
