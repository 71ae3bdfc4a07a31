#include "app/PageSources.h"

#include <windows.h>

#include "pages/DriveProbe.h"
#include "pages/GeneralFacts.h"
#include "pages/ProcessList.h"
#include "sysinfo/SysInfo.h"

namespace orv {

PageSources PageSources::Real() {
  PageSources s;
  s.general = SystemGeneralSources();
  s.logicalDrives = [] { return static_cast<std::uint32_t>(GetLogicalDrives()); };
  s.driveType = [](const std::string& root) { return GetDriveTypeA(root.c_str()); };
  s.fsKind = [](const std::string& drive) { return GetDriveFileSystemKind(drive); };
  s.driveSpace = [](char letter, std::int64_t& size, std::int64_t& free) {
    QueryDriveSpace(letter, size, free);
  };
  s.memoryLoad = [] { return GetMemoryLoad(); };
  s.totalPhysicalMemory = [] { return GetTotalPhysicalMemory(); };
  s.totalVirtualMemory = [] { return GetTotalVirtualMemory(); };
  s.processPaths = [](const std::function<void()>& beforeEach) {
    return ListProcessPaths(beforeEach);
  };
  return s;
}

}  // namespace orv
