#include "pages/GeneralFacts.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/TextRules.h"
#include "sysinfo/RegUnit.h"
#include "sysinfo/SysInfo.h"
#include "tests/pages/FakeLookup.h"
#include "tests/support/RegistryScratch.h"
#include "tests/support/WinTestTools.h"

namespace orv {
namespace {

using test::FakeLookup;
using test::RegQueryValue;

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
  // (A "Windows 10" name may be renamed; that rule has its own test below.)
  if (product != "(missing)" && product.rfind("Windows 10", 0) != 0) {
    EXPECT_EQ(rows[1], product);
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
  test::RegistryScratch registry;
  const auto version = registry.At(HKEY_LOCAL_MACHINE, kCurrentVersion);
  FakeLookup lookup;

  ASSERT_TRUE(version.SetSz("ProductName", "Windows 10 Pro"));
  ASSERT_TRUE(version.SetSz("CurrentBuildNumber", "22631"));
  EXPECT_EQ(RegQueryValue(Hklm(kCurrentVersion), "ProductName"), "Windows 10 Pro");
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[1], "Windows 11 Pro");
  ASSERT_TRUE(version.SetSz("CurrentBuildNumber", "21999"));
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[1], "Windows 10 Pro");
  ASSERT_TRUE(version.SetSz("CurrentBuildNumber", "22000"));
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[1], "Windows 11 Pro");

  // Without the stored build the version query's build decides.
  ASSERT_TRUE(version.Delete("CurrentBuildNumber"));
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ASSERT_TRUE(GetVersionExA(&info));
#pragma GCC diagnostic pop
  EXPECT_EQ(GetOsBuildNumber(), info.dwBuildNumber);
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[1],
            info.dwBuildNumber >= 22000 ? "Windows 11 Pro" : "Windows 10 Pro");

  ASSERT_TRUE(version.SetSz("ProductName", "Microsoft Windows 10 Home"));
  ASSERT_TRUE(version.SetSz("CurrentBuildNumber", "22631"));
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[1], "Microsoft Windows 10 Home");

  // No product name: the version text, e.g. "OS Version 6.1 build 7601".
  ASSERT_TRUE(version.Delete("ProductName"));
  EXPECT_EQ(RegQueryValue(Hklm(kCurrentVersion), "ProductName"), "(missing)");
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[1], GetOsVersionText());
}

TEST(GeneralFacts, DisplayAndMonitorFallbacks) {
  test::RegistryScratch registry;
  const auto adapter = registry.At(HKEY_LOCAL_MACHINE, kDisplayClass);
  const auto monitor = registry.At(HKEY_LOCAL_MACHINE, kMonitorClass);
  FakeLookup lookup;

  ASSERT_TRUE(adapter.SetSz("DriverDesc", "Orvendel Test Adapter"));
  ASSERT_TRUE(monitor.SetSz("DriverDesc", "Orvendel Test Monitor"));
  GeneralRows rows = GatherGeneralRows(lookup.Fn());
  EXPECT_EQ(rows[9], "Video: " + RegQueryValue(Hklm(kDisplayClass), "DriverDesc"));
  EXPECT_EQ(rows[9], "Video: Orvendel Test Adapter");
  EXPECT_EQ(rows[10], "Monitor: Orvendel Test Monitor");

  ASSERT_TRUE(adapter.Delete("DriverDesc"));
  ASSERT_TRUE(monitor.Delete("DriverDesc"));
  rows = GatherGeneralRows(lookup.Fn());
  // Without the class key's text, the device name of the last display device the system lists.
  const std::string lastDevice = test::LastDisplayDeviceName();
  ASSERT_FALSE(lastDevice.empty());
  EXPECT_EQ(rows[9], "Video: " + lastDevice);
  EXPECT_EQ(rows[10], "Monitor: Standart monitor");
}

TEST(GeneralFacts, BiosRow) {
  test::RegistryScratch registry;
  const auto system = registry.At(HKEY_LOCAL_MACHINE, kSystem);
  FakeLookup lookup;
  ASSERT_TRUE(system.SetSz("SystemBiosDate", "03/14/19"));
  // A multi-string version (as many machines store it) gives no version part.
  ASSERT_TRUE(system.SetMultiSz("SystemBiosVersion",
                                std::string("DELL   - 1072009") + '\0' + "BIOS Date: 03/14/19"));
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[7], "BIOS:  03/14/19");
  EXPECT_EQ(RegQueryValue(Hklm(kSystem), "SystemBiosDate"), "03/14/19");

  ASSERT_TRUE(system.Delete("SystemBiosVersion"));
  ASSERT_TRUE(system.Delete("SystemBiosDate"));
  EXPECT_EQ(GatherGeneralRows(lookup.Fn())[7], "BIOS:  ");
}

}  // namespace
}  // namespace orv
