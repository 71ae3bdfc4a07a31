#include "pages/GeneralFacts.h"

#include <windows.h>

#include <gtest/gtest.h>

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
  const std::string product = RegQueryValue(Hklm(kCurrentVersion), "ProductName");
  if (product != "(missing)") {
    EXPECT_EQ(rows[1], CorrectProductName(product, GetOsBuildNumber()));
  }
  const std::string productId =
      RegQueryValue("HKLM\\SOFTWARE\\Microsoft\\Internet Explorer\\Registration", "ProductId");
  EXPECT_EQ(rows[2], "Product Id: " + (productId == "(missing)" ? "" : productId));
  EXPECT_EQ(rows[3], "Computer name: " + GetComputerNameText());
  const std::string adapter = RegQueryValue(Hklm(kDisplayClass), "DriverDesc");
  if (adapter != "(missing)" && !adapter.empty()) {
    EXPECT_EQ(rows[9], "Video: " + adapter);
  }
  const std::string monitor = RegQueryValue(Hklm(kMonitorClass), "DriverDesc");
  EXPECT_EQ(rows[10], "Monitor: " + (monitor == "(missing)" || monitor.empty() ? "Standart monitor"
                                                                               : monitor));
  EXPECT_EQ(rows[8], "CPU: " + GetCpuName());
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
  EXPECT_EQ(row, GetOsVersionText());
  EXPECT_EQ(row.rfind("OS Version ", 0), 0u) << row;
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
  std::string device;
  GetDisplayDeviceName(device);
  EXPECT_EQ(rows[9], "Video: " + device);
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
