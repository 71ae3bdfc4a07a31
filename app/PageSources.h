// Where the information pages get their facts, as the main window holds them. The program uses the
// system's answers (PageSources::Real, made by the pages' data layer); window-level tests replace
// single queries (a memory load of 100, a 500 Gb drive) and see the real page handlers fill the
// real controls from them. Platform-neutral: only the shapes of the queries.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orv {

// What the General page asks of the system, one function per query. Each is called at most once per
// gathering, in the page's order.
struct GeneralSources {
  std::function<std::string()> productId;  // IE registration ProductId
  std::function<void(std::string& owner, std::string& organization)> registeredOwner;
  std::function<std::string()> displayAdapterDesc;           // display class 0000 DriverDesc
  std::function<void(std::string& name)> displayDeviceName;  // fallback; unset on failure
  std::function<std::string()> monitorDesc;                  // monitor class 0000 DriverDesc
  std::function<void(std::string& text)> osVersionNumber;    // unset on failure
  std::function<std::string()> productName;                  // CurrentVersion ProductName
  std::function<std::uint32_t()> osBuild;      // asked only for a "Windows 10" product name
  std::function<std::string()> osVersionText;  // fallback of ProductName
  std::function<std::string()> computerName;
  std::function<std::string()> userName;
  std::function<std::string()> biosVersion;
  std::function<std::string()> biosDate;
  std::function<std::string()> cpuName;
  std::function<std::uint64_t()> totalPhysicalMemory;  // bytes
  std::function<std::string()> languageName;
};

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
