#include "pages/StartupText.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

TEST(StartupLocationFolder, UpToTheLastBackslashOrColon) {
  const struct {
    std::string location;
    std::string folder;
  } cases[] = {
      {"C:\\Program Files\\Tool\\tool.exe", "C:\\Program Files\\Tool\\"},
      {"C:\\tool.exe", "C:\\"},
      {"C:tool.exe", "C:"},
      {"\\\\server\\share\\x.exe", "\\\\server\\share\\"},
      {"C:\\Tools\\", "C:\\Tools\\"},
      // Quotes and arguments are kept: the folder test then finds nothing.
      {"\"C:\\Tool\\tool.exe\" /min", "\"C:\\Tool\\"},
      {"C:\\a.exe http://x", "C:\\a.exe http:"},
      {"tool.exe /min", ""},
      {"", ""},
      {std::string("C:\\a\0b", 6), "C:\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(LocationFolder(c.location), c.folder) << c.location;
}

TEST(StartupSearchAddress, QuotedNameWithOnlyTheBreakingCharactersEncoded) {
  const std::string head = "https://www.google.com/search?hl=en&q=\"";
  const struct {
    std::string program;
    std::string query;
  } cases[] = {
      {"Tool.lnk", "Tool.lnk"},
      {"Foo & Bar Updater", "Foo %26 Bar Updater"},
      {"C# Tools", "C%23 Tools"},
      {"C++ 100%", "C%2B%2B 100%25"},
      {"%26", "%2526"},  // already encoded text is not taken as encoded
      {"?=/\xE4 \x7F", "?=/\xE4 \x7F"},
      // A quote or a control byte would end the browser's argument and start one of its own.
      {"a\" --new-window \"b", "a%22 --new-window %22b"},
      {"a\r\nb\tc\x01\x1F", "a%0D%0Ab%09c%01%1F"},
      {std::string("a\0b", 3), "a%00b"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StartupSearchAddress(c.program), head + c.query + "\"") << c.program;
  }
}

}  // namespace
}  // namespace orv
