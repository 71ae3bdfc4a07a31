#include "sysinfo/RegText.h"

#include <gtest/gtest.h>

#include "sysinfo/VersionText.h"

namespace orv {
namespace {

std::string Trimmed(const std::string& bytes) {
  return RegTrimmedStringData(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

std::string BinaryPath(const std::string& bytes) {
  return RegBinaryDataToPath(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

TEST(RegText, KeyPathDropsOneLeadingBackslash) {
  EXPECT_EQ(RegKeyPathArgument("\\Software\\Tellwick\\"), "Software\\Tellwick\\");
  EXPECT_EQ(RegKeyPathArgument("Software"), "Software");
  EXPECT_EQ(RegKeyPathArgument("\\\\Software"), "\\Software");
  EXPECT_EQ(RegKeyPathArgument("\\"), "");
}

TEST(RegText, StringDataIsCutAtItsFirstNulAndTrimmed) {
  EXPECT_EQ(Trimmed("  abc  "), "abc");
  EXPECT_EQ(Trimmed("   "), "");
  EXPECT_EQ(Trimmed(std::string("\t a b \r\n\0 tail", 13)), "a b");
  EXPECT_EQ(Trimmed("abc"), "abc");              // stored without its NUL
  EXPECT_EQ(Trimmed("\xA0x\xE9"), "\xA0x\xE9");  // bytes above 127 are text, not blanks
  EXPECT_EQ(RegTrimmedStringData(nullptr, 5), "");
  // The untrimmed form keeps the blanks.
  const std::string padded(" Owner \0x", 9);
  EXPECT_EQ(RegStringData(reinterpret_cast<const unsigned char*>(padded.data()), 9), " Owner ");
}

TEST(RegText, BinaryDataBecomesAPathFromItsDriveLetter) {
  EXPECT_EQ(BinaryPath(std::string("xyzC:\\Dir\\a.exe\0\0\0", 18)), "C:\\Dir\\a.exe");
  EXPECT_EQ(BinaryPath("AB:\\x"), "B:\\x");
  EXPECT_EQ(BinaryPath(":\\x"), ":\\x");
  EXPECT_EQ(BinaryPath("no drive here"), "");
  EXPECT_EQ(BinaryPath(""), "");
  // Control bytes are dropped before the search: UTF-16 text reads as its ANSI letters, and a
  // colon and backslash separated by one still form the pair.
  EXPECT_EQ(BinaryPath(std::string("D\0:\0\\\0a\0\0\0", 10)), "D:\\a");
  EXPECT_EQ(BinaryPath("E:\x01\\\xE9"), "E:\\\xE9");
}

TEST(VersionText, BothFormsFromTheVersionFields) {
  EXPECT_EQ(FormatOsVersionText(5, 1, 2600), "OS Version 5.1 build 2600");
  // Only the low 8 bits of the version and the low 16 bits of the build are shown.
  EXPECT_EQ(FormatOsVersionText(0x10A, 0x100, 0xABCD0000u | 22631), "OS Version 10.0 build 22631");
  EXPECT_EQ(FormatOsVersionNumber(5, 1, 2600, "Service Pack 3"), "5.1 (2600.Service Pack 3)");
  EXPECT_EQ(FormatOsVersionNumber(6, 1, 0x70000000u | 7600, ""), "6.1 (7600.)");
}

}  // namespace
}  // namespace orv
