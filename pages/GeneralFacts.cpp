#include "pages/GeneralFacts.h"

#include <windows.h>

#include "base/TextRules.h"
#include "sysinfo/RegUnit.h"
#include "sysinfo/SysInfo.h"

namespace orv {

namespace {

constexpr char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr char kSystemKey[] = "HARDWARE\\DESCRIPTION\\System";
constexpr char kDisplayClassKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}\\0000";
constexpr char kMonitorClassKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96E-E325-11CE-BFC1-08002BE10318}\\0000";
constexpr char kRegistrationKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Registration";
constexpr char kProcessorKey[] = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

std::string ReadMachine(const char* key, const char* value) {
  return RegReadStr(HKEY_LOCAL_MACHINE, key, value);
}

}  // namespace

std::string GetCpuName() {
  if (const auto regs = ReadCpuBrandRegisters()) {
    std::string name = CpuNameFromRegisters(*regs);
    if (!name.empty()) return name;
  }
  std::string name = TrimControl(ReadMachine(kProcessorKey, "ProcessorNameString"));
  if (name.empty()) name = TrimControl(ReadMachine(kProcessorKey, "Identifier"));
  return name;
}

std::uint32_t GetOsBuildNumber() {
  if (const std::uint32_t build =
          ParseBuildNumber(ReadMachine(kCurrentVersionKey, "CurrentBuildNumber"))) {
    return build;
  }
  OSVERSIONINFOA info;
  if (!QueryVersion(info)) return 0;
  return info.dwBuildNumber;
}

GeneralSources SystemGeneralSources() {
  GeneralSources s;
  s.productId = [] { return ReadMachine(kRegistrationKey, "ProductId"); };
  s.registeredOwner = GetRegisteredOwner;
  s.displayAdapterDesc = [] { return ReadMachine(kDisplayClassKey, "DriverDesc"); };
  s.displayDeviceName = GetDisplayDeviceName;
  s.monitorDesc = [] { return ReadMachine(kMonitorClassKey, "DriverDesc"); };
  s.osVersionNumber = GetOsVersionNumber;
  s.productName = [] { return ReadMachine(kCurrentVersionKey, "ProductName"); };
  s.osBuild = GetOsBuildNumber;
  s.osVersionText = GetOsVersionText;
  s.computerName = GetComputerNameText;
  s.userName = GetCurrentUserNameText;
  s.biosVersion = [] {
    return RegReadBinaryPath(HKEY_LOCAL_MACHINE, kSystemKey, "SystemBiosVersion");
  };
  s.biosDate = [] { return ReadMachine(kSystemKey, "SystemBiosDate"); };
  s.cpuName = GetCpuName;
  s.totalPhysicalMemory = GetTotalPhysicalMemory;
  s.languageName = GetSystemLanguageName;
  return s;
}

GeneralRows GatherGeneralRows(const LookupFn& lookup) {
  return GatherGeneralRows(SystemGeneralSources(), lookup);
}

}  // namespace orv
