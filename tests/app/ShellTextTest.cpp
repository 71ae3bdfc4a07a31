#include "app/ShellText.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

TEST(ProgramDirectory, DropsTheFileNameAndTheBackslashExceptAtARoot) {
  EXPECT_EQ(ProgramDirectory("C:\\Tools\\Orvendel\\Orvendex.exe"), "C:\\Tools\\Orvendel");
  EXPECT_EQ(ProgramDirectory("C:\\Orvendex.exe"), "C:\\");
  EXPECT_EQ(ProgramDirectory("\\\\server\\share\\Orvendex.exe"), "\\\\server\\share");
  EXPECT_EQ(ProgramDirectory("C:Orvendex.exe"), "C:");
  EXPECT_EQ(ProgramDirectory("Orvendex.exe"), "");
}

TEST(CutAfterLastBackslash, KeepsTheParentFolderWithItsBackslash) {
  EXPECT_EQ(CutAfterLastBackslash("C:\\Users\\User1\\AppData\\Roaming"),
            "C:\\Users\\User1\\AppData\\");
  EXPECT_EQ(CutAfterLastBackslash("C:\\Documents and Settings\\Bob\\Application Data"),
            "C:\\Documents and Settings\\Bob\\");
  EXPECT_EQ(CutAfterLastBackslash("C:\\"), "C:\\");
  EXPECT_EQ(CutAfterLastBackslash(""), "");
  EXPECT_EQ(CutAfterLastBackslash("NoFolder"), "");
}

TEST(FirstNonEmpty, AsksTheFallbacksOnlyWhenNeeded) {
  int asked = 0;
  auto source = [&](std::wstring text) {
    return [&asked, text] {
      ++asked;
      return text;
    };
  };
  EXPECT_EQ(FirstNonEmpty(L"C:\\Startup", source(L"reg"), source(L"alt")), L"C:\\Startup");
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(FirstNonEmpty(L"", source(L"reg"), source(L"alt")), L"reg");
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(FirstNonEmpty(L"", source(L""), source(L"alt")), L"alt");
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(FirstNonEmpty(L"", source(L""), source(L"")), L"");
}

}  // namespace
}  // namespace orv
