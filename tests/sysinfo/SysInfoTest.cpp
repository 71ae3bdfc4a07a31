#include "sysinfo/SysInfo.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/RegistryScratch.h"

namespace orv {
namespace {

// The formats are checked on the host; here, that the numbers are those the system reports.
TEST(SysInfo, VersionTextsCarryTheNumbersWindowsReports) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  ASSERT_TRUE(GetVersionExA(&version));
  unsigned major = 0, minor = 0, build = 0;
  const std::string text = GetOsVersionText();
  ASSERT_EQ(std::sscanf(text.c_str(), "OS Version %u.%u build %u", &major, &minor, &build), 3)
      << text;
  EXPECT_EQ(major, version.dwMajorVersion);
  EXPECT_EQ(minor, version.dwMinorVersion);
  EXPECT_EQ(build, version.dwBuildNumber);
  std::string number;
  GetOsVersionNumber(number);
  char servicePack[128] = {};
  ASSERT_EQ(std::sscanf(number.c_str(), "%u.%u (%u.%127[^)])", &major, &minor, &build, servicePack),
            version.szCSDVersion[0] ? 4 : 3)
      << number;
  EXPECT_EQ(build, version.dwBuildNumber);
  EXPECT_STREQ(servicePack, version.szCSDVersion);
}

TEST(SysInfo, MemoryFiguresAreThoseOfTheSystem) {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  ASSERT_TRUE(GlobalMemoryStatusEx(&status));
  EXPECT_EQ(GetTotalPhysicalMemory(), status.ullTotalPhys);
  EXPECT_EQ(GetTotalVirtualMemory(), status.ullTotalVirtual);
  EXPECT_GT(GetTotalPhysicalMemory(), 0u);
  // A 64-bit process's address space is far larger than any 32-bit count.
  if (sizeof(void*) == 8) {
    EXPECT_GT(GetTotalVirtualMemory(), 0xFFFFFFFFull);
  }
  EXPECT_LE(GetMemoryLoad(), 100);
}

TEST(SysInfo, NamesAreThoseOfTheSystem) {
  char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof(computer);
  ASSERT_TRUE(GetComputerNameA(computer, &size));
  EXPECT_EQ(GetComputerNameText(), computer);
  char user[256] = {};
  size = sizeof(user);
  ASSERT_TRUE(GetUserNameA(user, &size));
  EXPECT_EQ(GetCurrentUserNameText(), user);
  EXPECT_FALSE(GetSystemLanguageName().empty());
}

TEST(SysInfo, UserNameOf49CharactersIsReadAnd50IsNot) {
  // Wine takes the user name from WINEUSERNAME, which lets the test choose its length.
  char saved[512] = {};
  const DWORD savedLength = GetEnvironmentVariableA("WINEUSERNAME", saved, sizeof(saved));
  const std::string name49(49, 'n');
  SetEnvironmentVariableA("WINEUSERNAME", name49.c_str());
  const std::string read49 = GetCurrentUserNameText();
  SetEnvironmentVariableA("WINEUSERNAME", (name49 + "x").c_str());
  const std::string read50 = GetCurrentUserNameText();
  SetEnvironmentVariableA("WINEUSERNAME", savedLength ? saved : nullptr);
  if (read49 != name49) GTEST_SKIP() << "the user name cannot be chosen on this system";
  EXPECT_EQ(read50, "");
}

TEST(RegisteredOwner, StringsAreReadUntrimmedAndOtherTypesGiveEmptyText) {
  test::RegistryScratch scratch;
  const auto key =
      scratch.At(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
  key.SetSz("RegisteredOwner", "  Ann Example ");
  key.Set("RegisteredOrganization", REG_EXPAND_SZ, test::Sz("Tellwick %X%"));
  std::string owner = "old", organization = "old";
  GetRegisteredOwner(owner, organization);
  EXPECT_EQ(owner, "  Ann Example ");
  EXPECT_EQ(organization, "Tellwick %X%");

  key.SetDword("RegisteredOwner", 1);
  key.Delete("RegisteredOrganization");
  GetRegisteredOwner(owner, organization);
  EXPECT_EQ(owner, "");
  EXPECT_EQ(organization, "");
}

}  // namespace
}  // namespace orv
