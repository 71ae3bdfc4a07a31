#include "sysinfo/RegUnit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/HandleProbe.h"
#include "tests/support/ImportHook.h"
#include "tests/support/PageTest.h"
#include "tests/support/RegistryScratch.h"

namespace orv {
namespace {

// "Software\OrvendelTest\<name>" in one registry view, for one test.
std::string ScratchPath(const std::string& name) { return "Software\\OrvendelTest\\" + name; }

class RegUnitTest : public ::testing::Test {
 protected:
  RegUnitTest()
      : key_(scratch_.Fresh(
            HKEY_CURRENT_USER,
            ScratchPath(::testing::UnitTest::GetInstance()->current_test_info()->name()))) {}
  void SetUp() override { ASSERT_TRUE(key_.Made()); }

  const std::string& Path() const { return key_.Path(); }

  test::RegistryScratch scratch_;
  test::RegistryScratch::Key key_;
};

const std::string kMissing = "Software\\OrvendelTest\\No such key";

// A long fill lists keys of thousands of entries; the paced listings hand control back every few
// names and still list every one.
TEST_F(RegUnitTest, PacedListingsCallBackEveryFewNamesAndListEveryName) {
  for (int i = 0; i < 100; ++i) {
    key_.SubKey(std::to_string(i) + "k");
    key_.SetDword(std::to_string(i) + "v", 1);
  }
  using Paced = int (*)(HKEY, const std::string&, RegNameList&, const NamePacer&);
  for (const Paced paced :
       {&RegGetKeyNamesPaced, &RegGetValueNamesPaced, &RegGetValueNames64Paced}) {
    RegNameList list{{"stale", L"stale"}};
    std::size_t listedAtCall = 0;
    int calls = 0;
    EXPECT_EQ(paced(HKEY_CURRENT_USER, Path(), list,
                    [&] {
                      EXPECT_GE(list.size(), listedAtCall + 1);
                      listedAtCall = list.size();
                      ++calls;
                    }),
              100);
    EXPECT_EQ(list.size(), 100u);
    EXPECT_EQ(calls, 3);  // after names 32, 64 and 96
  }
}

TEST_F(RegUnitTest, ListHelpersClearTheListAndListEveryName) {
  const std::string longName(255, 'k');
  key_.SubKey("b");
  key_.SubKey("a");
  key_.SubKey(longName);
  const std::string longValue(2000, 'v');
  key_.SetSz("", "default");
  key_.SetSz("x", "1");
  key_.SetDword(longValue, 1);

  StringList list{"stale"};
  EXPECT_EQ(RegGetKeyNames(HKEY_CURRENT_USER, Path(), list), 3);
  EXPECT_EQ(test::Sorted(list), (StringList{"a", "b", longName}));
  // A leading backslash names the same key.
  EXPECT_EQ(RegGetKeyNames(HKEY_CURRENT_USER, "\\" + Path(), list), 3);
  for (auto* helper : {&RegGetValueNames, &RegGetValueNames64}) {
    list = {"stale"};
    EXPECT_EQ(helper(HKEY_CURRENT_USER, "\\" + Path() + "\\", list), 3);
    EXPECT_EQ(test::Sorted(list), (StringList{"", longValue, "x"}));
  }
  for (auto* helper : {&RegGetKeyNames, &RegGetValueNames, &RegGetValueNames64}) {
    list = {"stale"};
    EXPECT_EQ(helper(HKEY_CURRENT_USER, kMissing, list), 0);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(helper(HKEY_CURRENT_USER, Path() + "\\a", list), 0);  // a key without entries
  }
}

// The bytes of a literal, embedded and final NULs included (the literal's own terminator not).
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

// What each typed reader makes of every kind of stored value.
TEST_F(RegUnitTest, TypedReadersTakeTheirOwnTypeOnly) {
  const std::string big(100 * 1024, 'z');
  // Around the size that a first read takes in one call.
  const std::string edge511(511, 'e'), edge512(512, 'f');
  // A value of more than 1 MiB is read as empty, never allocated whole.
  const std::string mebibyte(1024 * 1024 - 1, 'm'), over(1024 * 1024, 'o');
  const struct {
    const char* name;
    DWORD type;
    std::string bytes;
    std::string text;     // RegReadStr, RegReadStr64
    std::int32_t number;  // RegReadInt; RegReadBool is number != 0
    std::string path;     // RegReadBinaryPath
  } rows[] = {
      {"padded", REG_SZ, Bytes("  abc  \0"), "abc", 0, ""},
      {"blanks", REG_SZ, Bytes("   \0"), "", 0, ""},
      {"zero size", REG_SZ, "", "", 0, ""},
      {"big", REG_SZ, " " + big + Bytes("\t\0"), big, 0, ""},
      {"fills the first read", REG_SZ, edge511 + Bytes("\0"), edge511, 0, ""},
      {"one past the first read", REG_SZ, edge512 + Bytes("\0"), edge512, 0, ""},
      {"1 MiB with its nul", REG_SZ, mebibyte + Bytes("\0"), mebibyte, 0, ""},
      {"one byte over 1 MiB", REG_SZ, over + Bytes("\0"), "", 0, ""},
      {"over 1 MiB of binary", REG_BINARY, "C:\\x" + over, "", 0, ""},
      {"first read without nul", REG_SZ, edge512, edge512, 0, ""},
      {"inner nul", REG_SZ, Bytes("ab\0cd\0"), "ab", 0, ""},
      {"high", REG_SZ, Bytes("\xE9t\xE9\0"), "\xE9t\xE9", 0, ""},
      {"drive text", REG_SZ, Bytes("C:\\x\0"), "C:\\x", 0, ""},
      {"one as text", REG_SZ, Bytes("1\0"), "1", 0, ""},
      {"expand", REG_EXPAND_SZ, Bytes("%WINDIR%\\x\0"), "%WINDIR%\\x", 0, ""},
      {"seven", REG_DWORD, Bytes("\7\0\0\0"), "", 7, ""},
      {"zero", REG_DWORD, Bytes("\0\0\0\0"), "", 0, ""},
      {"all bits", REG_DWORD, Bytes("\xFF\xFF\xFF\xFF"), "", -1, ""},
      {"short dword", REG_DWORD, Bytes("\1\1"), "", 0, ""},
      {"long dword", REG_DWORD, Bytes("\1\1\1\1\1\1"), "", 0, ""},
      {"big endian", REG_DWORD_BIG_ENDIAN, Bytes("\0\0\0\1"), "", 0, ""},
      {"qword", REG_QWORD, Bytes("\1\0\0\0\0\0\0\0"), "", 0, ""},
      {"multi", REG_MULTI_SZ, Bytes("a\0b\0\0"), "", 0, ""},
      {"none", REG_NONE, "", "", 0, ""},
      {"four bytes", REG_BINARY, Bytes("\1\0\0\0"), "", 0, ""},
      {"drive later", REG_BINARY, Bytes("AB:\\x"), "", 0, "B:\\x"},
      {"drive first", REG_BINARY, Bytes(":\\x"), "", 0, ":\\x"},
      {"padded path", REG_BINARY, Bytes("xyzC:\\Dir\\a.exe\0\0\0"), "", 0, "C:\\Dir\\a.exe"},
      {"no drive", REG_BINARY, Bytes("abc"), "", 0, ""},
      {"empty binary", REG_BINARY, "", "", 0, ""},
  };
  for (const auto& row : rows) key_.Set(row.name, row.type, row.bytes);
  // Stored without a terminating NUL: the byte after the counted data is not NUL either, so
  // nothing appends one.
  key_.Set("no nul", REG_SZ, "abc");
  EXPECT_EQ(RegReadStr(HKEY_CURRENT_USER, Path(), "no nul"), "abc");

  for (const auto& row : rows) {
    EXPECT_EQ(RegReadStr(HKEY_CURRENT_USER, Path(), row.name), row.text) << row.name;
    EXPECT_EQ(RegReadStr64(HKEY_CURRENT_USER, "\\" + Path(), row.name), row.text) << row.name;
    EXPECT_EQ(RegReadInt(HKEY_CURRENT_USER, Path(), row.name), row.number) << row.name;
    // A value of another type is no flag: false, and no error escapes.
    EXPECT_EQ(RegReadBool(HKEY_CURRENT_USER, Path(), row.name), row.number != 0) << row.name;
    EXPECT_EQ(RegReadBinaryPath(HKEY_CURRENT_USER, Path(), row.name), row.path) << row.name;
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, Path(), row.name)) << row.name;
    // One reader asked everything of one value, in any order, answers as the helpers do.
    const RegKeyReader64 reader(HKEY_CURRENT_USER, Path());
    EXPECT_EQ(reader.ReadBool(row.name), row.number != 0) << row.name;
    EXPECT_TRUE(reader.ValueExists(row.name)) << row.name;
    EXPECT_EQ(reader.ReadStr(row.name), row.text) << row.name;
  }
  for (const std::string& path : {Path(), kMissing}) {
    EXPECT_EQ(RegReadStr(HKEY_CURRENT_USER, path, "missing"), "");
    EXPECT_EQ(RegReadStr64(HKEY_CURRENT_USER, path, "missing"), "");
    EXPECT_EQ(RegReadInt(HKEY_CURRENT_USER, path, "missing"), 0);
    EXPECT_FALSE(RegReadBool(HKEY_CURRENT_USER, path, "missing"));
    EXPECT_EQ(RegReadBinaryPath(HKEY_CURRENT_USER, path, "missing"), "");
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, path, "missing"));
  }
  EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, Path(), ""));  // no default value set
  EXPECT_EQ(RegReadStr(HKEY_CURRENT_USER, kMissing, "padded"), "");
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
  test::RegistryScratch scratch;
  const auto view64 = scratch.Fresh(HKEY_LOCAL_MACHINE, ScratchPath("Views"), KEY_WOW64_64KEY);
  const auto view32 = scratch.Fresh(HKEY_LOCAL_MACHINE, ScratchPath("Views"), KEY_WOW64_32KEY);
  ASSERT_TRUE(view64.Made() && view32.Made());
  view64.SetSz("side", "64");
  view32.SetSz("side", "32");
  if (RegReadStr64(HKEY_LOCAL_MACHINE, view64.Path(), "side") == "32") {
    GTEST_SKIP() << "this system keeps one registry view (32-bit Windows)";
  }
  for (const auto& [view, side] : {std::pair{&view64, 64}, {&view32, 32}}) {
    view->SetSz("only" + std::to_string(side), "");
    view->SetDword("number", side);
    view->Set("path", REG_BINARY, "C:\\" + std::to_string(side));
    view->SubKey("sub" + std::to_string(side));
  }

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

// What each helper asks of RegOpenKeyExA, watched through the program's import table. Reading
// cannot tell the default view from the 64-bit view in the 64-bit build, where both are the same;
// the access each helper asks for can, in every build.
using RegOpenKeyExFn = LSTATUS(WINAPI*)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
RegOpenKeyExFn gRealOpen = nullptr;
std::vector<REGSAM> gAsked;

LSTATUS WINAPI RecordingOpen(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key) {
  gAsked.push_back(access);
  return gRealOpen(root, path, options, access, key);
}

TEST_F(RegUnitTest, EachHelperOpensForReadingInItsOwnView) {
  key_.SetSz("s", "text");
  key_.SetDword("d", 1);
  key_.Set("b", REG_BINARY, "C:\\x");
  key_.SubKey("sub");
  const std::string path = Path();
  StringList list;
  const struct {
    const char* helper;
    std::function<void()> call;
    REGSAM view;
  } kCases[] = {
      {"RegGetKeyNames", [&] { RegGetKeyNames(HKEY_CURRENT_USER, path, list); }, KEY_WOW64_64KEY},
      {"RegGetValueNames", [&] { RegGetValueNames(HKEY_CURRENT_USER, path, list); }, 0},
      {"RegGetValueNames64", [&] { RegGetValueNames64(HKEY_CURRENT_USER, path, list); },
       KEY_WOW64_64KEY},
      {"RegReadStr", [&] { RegReadStr(HKEY_CURRENT_USER, path, "s"); }, 0},
      {"RegReadStr64", [&] { RegReadStr64(HKEY_CURRENT_USER, path, "s"); }, KEY_WOW64_64KEY},
      {"RegReadInt", [&] { RegReadInt(HKEY_CURRENT_USER, path, "d"); }, KEY_WOW64_64KEY},
      {"RegReadBool", [&] { RegReadBool(HKEY_CURRENT_USER, path, "d"); }, KEY_WOW64_64KEY},
      {"RegReadBinaryPath", [&] { RegReadBinaryPath(HKEY_CURRENT_USER, path, "b"); },
       KEY_WOW64_64KEY},
      {"RegValueExists", [&] { RegValueExists(HKEY_CURRENT_USER, path, "s"); }, KEY_WOW64_64KEY},
  };
  test::ImportHook hook("advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(&RecordingOpen));
  if (!hook.Ok()) GTEST_SKIP() << "RegOpenKeyExA is not imported by name in this build";
  gRealOpen = reinterpret_cast<RegOpenKeyExFn>(hook.Original());
  for (const auto& c : kCases) {
    gAsked.clear();
    c.call();
    ASSERT_EQ(gAsked.size(), 1u) << c.helper << " opens its key once";
    EXPECT_EQ(gAsked[0] & (KEY_WOW64_64KEY | KEY_WOW64_32KEY), c.view) << c.helper;
    EXPECT_EQ(gAsked[0] & ~(KEY_WOW64_64KEY | KEY_WOW64_32KEY), REGSAM{KEY_READ}) << c.helper;
  }
}

}  // namespace
}  // namespace orv
