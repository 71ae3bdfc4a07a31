#include "sysinfo/SysInfo.h"

#include <windows.h>

#include "base/TextRules.h"
#include "sysinfo/RegText.h"
#include "sysinfo/RegistryKey.h"
#include "sysinfo/VersionText.h"

namespace orv {
namespace {

bool QueryMemoryStatusEx(MEMORYSTATUSEX& status) {
  status = MEMORYSTATUSEX{};
  status.dwLength = sizeof(status);
  return GlobalMemoryStatusEx(&status) != FALSE;
}

// Only a string value is text; a value of another type gives empty text, not an error.
std::string ReadUntrimmedString(const RegistryKey& key, const std::string& valueName) {
  RegValueData value;
  if (!key.ReadValue(valueName, value)) return std::string();
  if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) return std::string();
  return RegStringData(value.bytes.data(), value.bytes.size());
}

// Enumeration stops at the first failure; the cap only guards against a driver that never fails.
constexpr DWORD kMostDisplayDevices = 256;

constexpr DWORD kComputerNameBuffer = 255;
constexpr DWORD kUserNameBuffer = 50;
constexpr DWORD kLanguageNameLength = 100;

// GetComputerNameA or GetUserNameA into size bytes; empty when the name does not fit.
std::string NameOf(BOOL(WINAPI* get)(LPSTR, LPDWORD), DWORD size) {
  std::string name(size, '\0');
  if (!get(name.data(), &size)) return std::string();
  return UpToNul(name.data(), name.size());
}

}  // namespace

bool QueryVersion(OSVERSIONINFOA& version) {
  version = OSVERSIONINFOA{};
  version.dwOSVersionInfoSize = sizeof(version);
  return GetVersionExA(&version) != FALSE;
}

std::uint8_t GetMemoryLoad() {
  // The short record: its load figure is all that is read (and is the same as the long one's).
  MEMORYSTATUS status{};
  status.dwLength = sizeof(status);
  GlobalMemoryStatus(&status);
  return static_cast<std::uint8_t>(status.dwMemoryLoad & 0xFFu);
}

std::uint64_t GetTotalPhysicalMemory() {
  MEMORYSTATUSEX status;
  return QueryMemoryStatusEx(status) ? status.ullTotalPhys : 0;
}

std::uint64_t GetTotalVirtualMemory() {
  MEMORYSTATUSEX status;
  return QueryMemoryStatusEx(status) ? status.ullTotalVirtual : 0;
}

std::string GetOsVersionText() {
  OSVERSIONINFOA version;
  if (!QueryVersion(version)) return std::string();
  return FormatOsVersionText(version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber);
}

void GetOsVersionNumber(std::string& text) {
  OSVERSIONINFOA version;
  if (!QueryVersion(version)) return;
  text =
      FormatOsVersionNumber(version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber,
                            UpToNul(version.szCSDVersion, sizeof(version.szCSDVersion)));
}

void GetDisplayDeviceName(std::string& text) {
  for (DWORD index = 0; index < kMostDisplayDevices; ++index) {
    DISPLAY_DEVICEA device{};
    device.cb = sizeof(device);
    if (!EnumDisplayDevicesA(nullptr, index, &device, 0)) break;
    text = UpToNul(device.DeviceName, sizeof(device.DeviceName));
  }
}

std::string GetSystemLanguageName() {
  char name[kLanguageNameLength + 1] = {};
  VerLanguageNameA(GetSystemDefaultLangID(), name, kLanguageNameLength);
  return UpToNul(name, sizeof(name));
}

std::string GetComputerNameText() { return NameOf(GetComputerNameA, kComputerNameBuffer); }

// 50 bytes with the NUL: a name of 49 characters is read, one of 50 is not.
std::string GetCurrentUserNameText() { return NameOf(GetUserNameA, kUserNameBuffer); }

void GetRegisteredOwner(std::string& owner, std::string& organization) {
  RegistryKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0)) {
    return;
  }
  owner = ReadUntrimmedString(key, "RegisteredOwner");
  organization = ReadUntrimmedString(key, "RegisteredOrganization");
}

}  // namespace orv
