#include "sysinfo/SysInfo.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

TEST(SysInfo, VersionTextsFollowWhatWindowsReports) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  ASSERT_TRUE(GetVersionExA(&version));
  const std::string build = std::to_string(version.dwBuildNumber & 0xFFFF);
  const std::string majorMinor =
      std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion);
  EXPECT_EQ(GetOsVersionText(), "OS Version " + majorMinor + " build " + build);
  std::string number;
  GetOsVersionNumber(number);
  EXPECT_EQ(number, majorMinor + " (" + build + "." + version.szCSDVersion + ")");
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

// Writes the owner values in the prefix's HKLM key and puts the originals back afterwards.
class RegisteredOwnerTest : public ::testing::Test {
 protected:
  struct Saved {
    bool exists = false;
    DWORD type = 0;
    std::vector<BYTE> data;
  };

  void SetUp() override {
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                            0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_),
              ERROR_SUCCESS);
    for (int i = 0; i < 2; ++i) {
      DWORD size = 0;
      saved_[i].exists =
          RegQueryValueExA(key_, kNames[i], nullptr, &saved_[i].type, nullptr, &size) == 0;
      saved_[i].data.resize(size + 1);
      RegQueryValueExA(key_, kNames[i], nullptr, nullptr, saved_[i].data.data(), &size);
      saved_[i].data.resize(size);
    }
  }
  void TearDown() override {
    for (int i = 0; i < 2; ++i) {
      if (saved_[i].exists) {
        RegSetValueExA(key_, kNames[i], 0, saved_[i].type, saved_[i].data.data(),
                       static_cast<DWORD>(saved_[i].data.size()));
      } else {
        RegDeleteValueA(key_, kNames[i]);
      }
    }
    if (key_) RegCloseKey(key_);
  }
  void Set(int i, DWORD type, const std::string& bytes) {
    RegSetValueExA(key_, kNames[i], 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
  }

  static constexpr const char* kNames[2] = {"RegisteredOwner", "RegisteredOrganization"};
  HKEY key_ = nullptr;
  Saved saved_[2];
};

TEST_F(RegisteredOwnerTest, StringsAreReadUntrimmedAndOtherTypesGiveEmptyText) {
  Set(0, REG_SZ, std::string("  Ann Example \0", 15));
  Set(1, REG_EXPAND_SZ, std::string("Tellwick %X%\0", 13));
  std::string owner = "old", organization = "old";
  GetRegisteredOwner(owner, organization);
  EXPECT_EQ(owner, "  Ann Example ");
  EXPECT_EQ(organization, "Tellwick %X%");

  Set(0, REG_DWORD, std::string("\1\0\0\0", 4));
  RegDeleteValueA(key_, kNames[1]);
  GetRegisteredOwner(owner, organization);
  EXPECT_EQ(owner, "");
  EXPECT_EQ(organization, "");
}

}  // namespace
}  // namespace orv
