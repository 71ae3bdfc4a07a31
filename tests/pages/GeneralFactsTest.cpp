#include "pages/GeneralFacts.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/TextRules.h"
#include "sysinfo/RegUnit.h"
#include "sysinfo/SysInfo.h"
#include "tests/pages/FakeLookup.h"
#include "tests/pages/WinTestTools.h"

namespace orv {
namespace {

using test::FakeLookup;
using test::RegQueryValue;
using test::ScopedRegValue;

constexpr char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr char kDisplayClass[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}\\0000";
constexpr char kMonitorClass[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96E-E325-11CE-BFC1-08002BE10318}\\0000";
constexpr char kSystem[] = "HARDWARE\\DESCRIPTION\\System";
constexpr char kProcessor[] = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

std::string Hklm(const char* key) { return std::string("HKLM\\") + key; }

// Windows (and Wine, from its own CPUID reading at start-up) records the brand string in the
// registry: an independent reading of the same instruction.
TEST(GeneralFacts, CpuNameEqualsTheRecordedBrandString) {
  const std::string recorded =
      TrimControl(RegReadStr(HKEY_LOCAL_MACHINE, kProcessor, "ProcessorNameString"));
  if (recorded.empty()) GTEST_SKIP() << "no ProcessorNameString recorded";
  EXPECT_EQ(GetCpuName(), recorded);
  ASSERT_TRUE(ReadCpuBrandRegisters().has_value());
}

TEST(GeneralFacts, RowsAgreeWithRegQuery) {
  FakeLookup lookup;
  const GeneralRows rows = GatherGeneralRows(lookup.Fn());
  EXPECT_EQ(rows[0].rfind("Windows ", 0), 0u) << rows[0];
  // The product row: the stored name, where Windows 11 still calls itself "Windows 10".
  const std::string product = RegQueryValue(Hklm(kCurrentVersion), "ProductName");
  const std::string build = RegQueryValue(Hklm(kCurrentVersion), "CurrentBuildNumber");
  if (product != "(missing)") {
    const bool eleven = product.rfind("Windows 10", 0) == 0 && build != "(missing)" &&
                        std::atoi(build.c_str()) >= 22000;
    EXPECT_EQ(rows[1], eleven ? "Windows 11" + product.substr(10) : product);
  }
  const std::string productId =
      RegQueryValue("HKLM\\SOFTWARE\\Microsoft\\Internet Explorer\\Registration", "ProductId");
  EXPECT_EQ(rows[2], "Product Id: " + (productId == "(missing)" ? "" : productId));
  char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD computerSize = sizeof computer;
  ASSERT_TRUE(GetComputerNameA(computer, &computerSize));
  EXPECT_EQ(rows[3], std::string("Computer name: ") + computer);
  const std::string adapter = RegQueryValue(Hklm(kDisplayClass), "DriverDesc");
  if (adapter != "(missing)" && !adapter.empty()) {
    EXPECT_EQ(rows[9], "Video: " + adapter);
  }
  const std::string monitor = RegQueryValue(Hklm(kMonitorClass), "DriverDesc");
  EXPECT_EQ(rows[10], "Monitor: " + (monitor == "(missing)" || monitor.empty() ? "Standart monitor"
                                                                               : monitor));
  const std::string cpu = RegQueryValue(Hklm(kProcessor), "ProcessorNameString");
  if (cpu != "(missing)") {
    EXPECT_EQ(rows[8], "CPU: " + TrimControl(cpu));
  }
  EXPECT_EQ(rows[11].rfind("Memory: ", 0), 0u);
  EXPECT_EQ(rows[11].substr(rows[11].size() - 3), " Mb");
}

TEST(GeneralFacts, ProductNameFromTheRegistry) {
  ScopedRegValue name(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProductName");
  ScopedRegValue build(HKEY_LOCAL_MACHINE, kCurrentVersion, "CurrentBuildNumber");
  ASSERT_TRUE(name.Ok() && build.Ok());
  FakeLookup lookup;

  ASSERT_TRUE(name.SetString("Windows 10 Pro"));
  ASSERT_TRUE(build.SetString("22631"));
  EXPECT_EQ(RegQueryValue(Hklm(kCurrentVersion), "ProductName"), "Windows 10 Pro");
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[1], "Windows 11 Pro");
  ASSERT_TRUE(build.SetString("21999"));
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[1], "Windows 10 Pro");
  ASSERT_TRUE(build.SetString("22000"));
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[1], "Windows 11 Pro");

  // Without the stored build the version query's build decides.
  ASSERT_TRUE(build.Delete());
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ASSERT_TRUE(GetVersionExA(&info));
#pragma GCC diagnostic pop
  EXPECT_EQ(GetOsBuildNumber(), info.dwBuildNumber);
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[1],
            info.dwBuildNumber >= 22000 ? "Windows 11 Pro" : "Windows 10 Pro");

  ASSERT_TRUE(name.SetString("Microsoft Windows 10 Home"));
  ASSERT_TRUE(build.SetString("22631"));
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[1], "Microsoft Windows 10 Home");

  // No product name: the version text, e.g. "OS Version 6.1 build 7601".
  ASSERT_TRUE(name.Delete());
  EXPECT_EQ(RegQueryValue(Hklm(kCurrentVersion), "ProductName"), "(missing)");
  const std::string row = GatherGeneralRows(lookup.Fn())[1];
  EXPECT_EQ(row, "OS Version " + std::to_string(info.dwMajorVersion) + "." +
                     std::to_string(info.dwMinorVersion) + " build " +
                     std::to_string(info.dwBuildNumber & 0xFFFF));
}

TEST(GeneralFacts, DisplayAndMonitorFallbacks) {
  ScopedRegValue adapter(HKEY_LOCAL_MACHINE, kDisplayClass, "DriverDesc");
  ScopedRegValue monitor(HKEY_LOCAL_MACHINE, kMonitorClass, "DriverDesc");
  ASSERT_TRUE(adapter.Ok() && monitor.Ok());
  FakeLookup lookup;

  ASSERT_TRUE(adapter.SetString("Orvendel Test Adapter"));
  ASSERT_TRUE(monitor.SetString("Orvendel Test Monitor"));
  GeneralRows rows = GatherGeneralRows(lookup.Fn());
  EXPECT_EQ(rows[9], "Video: " + RegQueryValue(Hklm(kDisplayClass), "DriverDesc"));
  EXPECT_EQ(rows[9], "Video: Orvendel Test Adapter");
  EXPECT_EQ(rows[10], "Monitor: Orvendel Test Monitor");

  ASSERT_TRUE(adapter.Delete());
  ASSERT_TRUE(monitor.Delete());
  rows = GatherGeneralRows(lookup.Fn());
  // Without the class key's text, the device name of the last display device the system lists.
  std::string lastDevice;
  DISPLAY_DEVICEA device{};
  device.cb = sizeof device;
  for (DWORD i = 0; EnumDisplayDevicesA(nullptr, i, &device, 0); ++i) {
    lastDevice = device.DeviceName;
    device = DISPLAY_DEVICEA{};
    device.cb = sizeof device;
  }
  ASSERT_FALSE(lastDevice.empty());
  EXPECT_EQ(rows[9], "Video: " + lastDevice);
  EXPECT_EQ(rows[10], "Monitor: Standart monitor");
}

TEST(GeneralFacts, BiosRow) {
  ScopedRegValue version(HKEY_LOCAL_MACHINE, kSystem, "SystemBiosVersion");
  ScopedRegValue date(HKEY_LOCAL_MACHINE, kSystem, "SystemBiosDate");
  ASSERT_TRUE(version.Ok() && date.Ok());
  FakeLookup lookup;
  ASSERT_TRUE(date.SetString("03/14/19"));
  // A multi-string version (as many machines store it) gives no version part.
  ASSERT_TRUE(
      version.SetMultiString(std::string("DELL   - 1072009") + '\0' + "BIOS Date: 03/14/19"));
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[7], "BIOS:  03/14/19");
  EXPECT_EQ(RegQueryValue(Hklm(kSystem), "SystemBiosDate"), "03/14/19");

  ASSERT_TRUE(version.Delete());
  ASSERT_TRUE(date.Delete());
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[7], "BIOS:  ");
}

}  // namespace
}  // namespace orv
