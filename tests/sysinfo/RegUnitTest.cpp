#include "sysinfo/RegUnit.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/HandleProbe.h"
#include "tests/sysinfo/ScratchKey.h"

namespace orv {
namespace {

using test::ScratchKey;

class RegUnitTest : public ::testing::Test {
 protected:
  RegUnitTest() : key_(HKEY_CURRENT_USER, 0, test::CurrentTestName()) {}
  void SetUp() override { ASSERT_TRUE(key_.Made()); }

  const std::string& Path() const { return key_.Path(); }
  static StringList Sorted(StringList list) {
    std::sort(list.begin(), list.end());
    return list;
  }

  ScratchKey key_;
};

const std::string kMissing = "Software\\OrvendelTest\\No such key";

TEST_F(RegUnitTest, ListHelpersClearTheListAndListEveryName) {
  const std::string longName(255, 'k');
  key_.AddSubKey("b");
  key_.AddSubKey("a");
  key_.AddSubKey(longName);
  const std::string longValue(2000, 'v');
  key_.SetSz("", "default");
  key_.SetSz("x", "1");
  key_.SetDword(longValue, 1);

  StringList list{"stale"};
  EXPECT_EQ(RegGetKeyNames(HKEY_CURRENT_USER, Path(), list), 3);
  EXPECT_EQ(Sorted(list), (StringList{"a", "b", longName}));
  // A leading backslash names the same key.
  EXPECT_EQ(RegGetKeyNames(HKEY_CURRENT_USER, "\\" + Path(), list), 3);
  for (auto* helper : {&RegGetValueNames, &RegGetValueNames64}) {
    list = {"stale"};
    EXPECT_EQ(helper(HKEY_CURRENT_USER, "\\" + Path() + "\\", list), 3);
    EXPECT_EQ(Sorted(list), (StringList{"", longValue, "x"}));
  }
  for (auto* helper : {&RegGetKeyNames, &RegGetValueNames, &RegGetValueNames64}) {
    list = {"stale"};
    EXPECT_EQ(helper(HKEY_CURRENT_USER, kMissing, list), 0);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(helper(HKEY_CURRENT_USER, Path() + "\\a", list), 0);  // a key without entries
  }
}

TEST_F(RegUnitTest, StringReadsAreCutAtNulTrimmedAndTypeChecked) {
  const std::string big(100 * 1024, 'z');
  key_.SetSz("padded", "  abc  ");
  key_.SetSz("blanks", "   ");
  key_.SetSz("empty", "");
  key_.Set("zero size", REG_SZ, "");
  key_.SetSz("big", " " + big + "\t");
  key_.Set("inner nul", REG_SZ, std::string("ab\0cd\0", 6));
  key_.Set("expand", REG_EXPAND_SZ, std::string("%WINDIR%\\x\0", 11));
  key_.Set("high", REG_SZ, std::string("\xE9t\xE9\0", 4));
  // Stored without a terminating NUL: the byte after the counted data is not NUL, so the
  // registry has no reason to count one in.
  key_.SetRaw("no nul", REG_SZ, "abcX", 3);

  key_.SetDword("dword", 7);
  key_.Set("multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
  key_.Set("binary", REG_BINARY, "C:\\x");
  key_.Set("qword", REG_QWORD, std::string(8, '\1'));
  key_.Set("none", REG_NONE, "abc");

  const struct {
    const char* value;
    std::string text;
  } cases[] = {
      {"padded", "abc"},
      {"blanks", ""},
      {"empty", ""},
      {"zero size", ""},
      {"big", big},
      {"inner nul", "ab"},
      {"expand", "%WINDIR%\\x"},
      {"high", "\xE9t\xE9"},
      {"no nul", "abc"},
      {"dword", ""},
      {"multi", ""},
      {"binary", ""},
      {"qword", ""},
      {"none", ""},
      {"missing", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RegReadStr(HKEY_CURRENT_USER, Path(), c.value), c.text) << c.value;
    EXPECT_EQ(RegReadStr64(HKEY_CURRENT_USER, "\\" + Path(), c.value), c.text) << c.value;
  }
  EXPECT_EQ(RegReadStr(HKEY_CURRENT_USER, kMissing, "padded"), "");
}

TEST_F(RegUnitTest, IntegerAndFlagReadsAcceptOnlyFourByteDwords) {
  key_.SetDword("seven", 7);
  key_.SetDword("zero", 0);
  key_.SetDword("all bits", 0xFFFFFFFFu);
  key_.Set("short dword", REG_DWORD, "\1\1");
  key_.Set("long dword", REG_DWORD, "\1\1\1\1\1\1");
  key_.Set("big endian", REG_DWORD_BIG_ENDIAN, std::string("\0\0\0\1", 4));
  key_.Set("qword", REG_QWORD, std::string("\1\0\0\0\0\0\0\0", 8));
  key_.SetSz("text one", "1");
  key_.Set("binary", REG_BINARY, "\1\0\0\0");

  const struct {
    const char* value;
    std::int32_t number;
  } cases[] = {
      {"seven", 7},      {"zero", 0},  {"all bits", -1}, {"short dword", 0}, {"long dword", 0},
      {"big endian", 0}, {"qword", 0}, {"text one", 0},  {"binary", 0},      {"missing", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RegReadInt(HKEY_CURRENT_USER, Path(), c.value), c.number) << c.value;
    // A value of another type is no flag: false, and no error escapes.
    EXPECT_EQ(RegReadBool(HKEY_CURRENT_USER, "\\" + Path(), c.value), c.number != 0) << c.value;
  }
  EXPECT_EQ(RegReadInt(HKEY_CURRENT_USER, kMissing, "seven"), 0);
  EXPECT_FALSE(RegReadBool(HKEY_CURRENT_USER, kMissing, "seven"));
}

TEST_F(RegUnitTest, BinaryPathAndExistence) {
  key_.Set("drive later", REG_BINARY, "AB:\\x");
  key_.Set("drive first", REG_BINARY, ":\\x");
  key_.Set("padded", REG_BINARY, std::string("xyzC:\\Dir\\a.exe\0\0\0", 18));
  key_.Set("no drive", REG_BINARY, "abc");
  key_.Set("empty binary", REG_BINARY, "");
  key_.SetSz("string", "C:\\x");
  key_.Set("none", REG_NONE, "");

  EXPECT_EQ(RegReadBinaryPath(HKEY_CURRENT_USER, Path(), "drive later"), "B:\\x");
  EXPECT_EQ(RegReadBinaryPath(HKEY_CURRENT_USER, Path(), "drive first"), ":\\x");
  EXPECT_EQ(RegReadBinaryPath(HKEY_CURRENT_USER, "\\" + Path(), "padded"), "C:\\Dir\\a.exe");
  for (const char* value : {"no drive", "empty binary", "string", "missing"}) {
    EXPECT_EQ(RegReadBinaryPath(HKEY_CURRENT_USER, Path(), value), "") << value;
  }

  for (const char* value : {"drive later", "empty binary", "string", "none"}) {
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, Path(), value)) << value;
  }
  EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, Path(), "missing"));
  EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, Path(), ""));  // no default value set
  EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kMissing, "string"));
}

TEST_F(RegUnitTest, NoHelperLeaksAKeyOrFailsOnBadInput) {
  key_.SetSz("s", "text");
  key_.SetDword("d", 1);
  key_.Set("b", REG_BINARY, "C:\\x");
  key_.Set("m", REG_MULTI_SZ, std::string("a\0\0", 3));
  StringList list;
  auto everyHelper = [&](HKEY root, const std::string& path) {
    for (const char* value : {"s", "d", "b", "m", "missing"}) {
      RegReadStr(root, path, value);
      RegReadStr64(root, path, value);
      RegReadInt(root, path, value);
      RegReadBool(root, path, value);
      RegReadBinaryPath(root, path, value);
      RegValueExists(root, path, value);
    }
    RegGetKeyNames(root, path, list);
    RegGetValueNames(root, path, list);
    RegGetValueNames64(root, path, list);
  };
  everyHelper(HKEY_CURRENT_USER, Path());  // the first use opens and caches the root handle
  test::HandleProbe probe;
  everyHelper(HKEY_CURRENT_USER, Path());
  everyHelper(HKEY_CURRENT_USER, kMissing);
  everyHelper(HKEY_CURRENT_USER, std::string(300, '\\'));
  everyHelper(nullptr, Path());
  everyHelper(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), Path());
  EXPECT_TRUE(probe.NothingLeaked());
  EXPECT_TRUE(list.empty());
}

// HKLM\Software is split into a 32-bit and a 64-bit view on 64-bit Windows.
TEST(RegUnitViews, DefaultViewHelpersFollowTheProcessAndTheOthersSee64Bit) {
  ScratchKey view64(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, "Views");
  ScratchKey view32(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "Views");
  ASSERT_TRUE(view64.Made() && view32.Made());
  view64.SetSz("side", "64");
  view32.SetSz("side", "32");
  if (RegReadStr64(HKEY_LOCAL_MACHINE, view64.Path(), "side") == "32") {
    GTEST_SKIP() << "this system keeps one registry view (32-bit Windows)";
  }
  view64.SetSz("only64", "");
  view32.SetSz("only32", "");
  view64.SetDword("number", 64);
  view32.SetDword("number", 32);
  view64.Set("path", REG_BINARY, "C:\\64");
  view32.Set("path", REG_BINARY, "C:\\32");
  view64.AddSubKey("sub64");
  view32.AddSubKey("sub32");

  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  const std::string defaultSide = wow64 ? "32" : "64";
  EXPECT_EQ(RegReadStr(HKEY_LOCAL_MACHINE, view64.Path(), "side"), defaultSide);
  StringList names;
  RegGetValueNames(HKEY_LOCAL_MACHINE, view64.Path(), names);
  EXPECT_EQ(std::count(names.begin(), names.end(), "only" + defaultSide), 1);

  EXPECT_EQ(RegReadStr64(HKEY_LOCAL_MACHINE, view64.Path(), "side"), "64");
  RegGetValueNames64(HKEY_LOCAL_MACHINE, view64.Path(), names);
  EXPECT_EQ(std::count(names.begin(), names.end(), "only64"), 1);
  EXPECT_EQ(std::count(names.begin(), names.end(), "only32"), 0);
  EXPECT_EQ(RegGetKeyNames(HKEY_LOCAL_MACHINE, view64.Path(), names), 1);
  EXPECT_EQ(names, StringList{"sub64"});
  EXPECT_EQ(RegReadInt(HKEY_LOCAL_MACHINE, view64.Path(), "number"), 64);
  EXPECT_TRUE(RegReadBool(HKEY_LOCAL_MACHINE, view64.Path(), "number"));
  EXPECT_EQ(RegReadBinaryPath(HKEY_LOCAL_MACHINE, view64.Path(), "path"), "C:\\64");
  EXPECT_TRUE(RegValueExists(HKEY_LOCAL_MACHINE, view64.Path(), "only64"));
  EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, view64.Path(), "only32"));
}

}  // namespace
}  // namespace orv
