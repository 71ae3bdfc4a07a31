// The report lines against their tables: the five sections of the text report, the HTML page with
// its differing section endings, escaping and character set, and the file's line ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "report/ReportLines.h"

namespace orv {
namespace {

using Lines = std::vector<std::string>;

// "g0", "m3", ...; built by appending, which gcc 12 does not misread as an overlapping copy.
std::string Numbered(char prefix, std::size_t number) {
  std::string text(1, prefix);
  text += std::to_string(number);
  return text;
}

// A report with the General and Memory rows numbered, and nothing else listed.
ReportContent Bare(const std::array<std::string, 5>& tabs) {
  ReportContent c;
  c.computerName = "WINEHOST";
  c.tabCaptions = tabs;
  for (std::size_t i = 0; i < c.generalRows.size(); ++i) c.generalRows[i] = Numbered('g', i);
  for (std::size_t i = 0; i < c.memoryRows.size(); ++i) c.memoryRows[i] = Numbered('m', i);
  return c;
}

const std::array<std::string, 5> kEnglishTabs = {"General", "Drives", "Memory", "Startup list",
                                                 "Installed programs"};

Lines GeneralText(const std::string& heading) {
  Lines lines = {heading, ""};
  for (std::size_t i = 0; i < 13; ++i) lines.push_back(Numbered('g', i));
  lines.push_back("");
  return lines;
}

Lines Concat(std::initializer_list<Lines> parts) {
  Lines out;
  for (const Lines& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

TEST(ReportLines, DriveAndRowLinesJoinTheirParts) {
  EXPECT_EQ(DriveLine("Drive C: Fixed (NTFS)", "Drive size: 500 Gb", "Used: 375 Gb (75 %)",
                      "Free: 125 Gb (25 %)"),
            "Drive C: Fixed (NTFS) Drive size: 500 Gb Used: 375 Gb (75 %) Free: 125 Gb (25 %)");
  EXPECT_EQ(DriveLine("", "", "", ""), "   ");
  const struct {
    ReportRow row;
    std::string line;
  } cases[] = {
      {{"Tom & Jerry <Beta>", "Acme"}, "Tom & Jerry <Beta> - Acme"},
      {{"No publisher", ""}, "No publisher - "},  // a program without publisher
      {{"", ""}, " - "},
  };
  for (const auto& c : cases) EXPECT_EQ(RowLine(c.row), c.line);
}

TEST(ReportLines, TextReportFollowsTheSectionTable) {
  const std::string stars12(12, '*'), stars14(14, '*'), stars15(15, '*');
  const auto heading = [&](const std::string& caption) {
    return stars14 + " " + caption + " " + stars14;
  };
  ReportContent full = Bare(kEnglishTabs);
  full.driveLines = {
      "Drive C: Fixed (NTFS) Drive size: 500 Gb Used: 375 Gb (75 %) Free: 125 Gb "
      "(25 %)"};
  full.processLines = {"C:\\windows\\system32\\winlogon.exe (1)", ""};
  full.startupRows = {{"Updater", ""}, {"Tray", "HKCU Run"}};  // the first without location
  full.programRows = {{"Tom & Jerry <Beta>", ""}};
  ReportContent german = Bare({"Allgemein", "Laufwerke", "Speicher", "Autostart", "Programme"});

  const struct {
    const char* name;
    ReportContent content;
    Lines lines;
  } cases[] = {
      {"nothing listed (no fixed drive, no processes, no rows)", Bare(kEnglishTabs),
       Concat({GeneralText(stars12 + " General " + stars15),
               {heading("Drives"), "", ""},
               {heading("Memory"), "", "m0", "m1", "m2", "m3", ""},
               {heading("Startup list"), "", ""},
               {heading("Installed programs"), "", ""}})},
      {"every list filled", full,
       Concat({GeneralText(stars12 + " General " + stars15),
               {heading("Drives"), "", full.driveLines[0], ""},
               {heading("Memory"), "", "m0", "m1", "m2", "m3",
                "C:\\windows\\system32\\winlogon.exe (1)", "", ""},
               {heading("Startup list"), "", "Updater - ", "Tray - HKCU Run", ""},
               {heading("Installed programs"), "", "Tom & Jerry <Beta> - ", ""}})},
      {"translated captions", german,
       Concat({GeneralText(stars12 + " Allgemein " + stars15),
               {heading("Laufwerke"), "", ""},
               {heading("Speicher"), "", "m0", "m1", "m2", "m3", ""},
               {heading("Autostart"), "", ""},
               {heading("Programme"), "", ""}})},
  };
  for (const auto& c : cases) EXPECT_EQ(TextReportLines(c.content), c.lines) << c.name;
}

TEST(ReportLines, HtmlReportFollowsTheLineTableEscaped) {
  const auto heading = [](const std::string& caption) {
    return "<h2><p align=\"center\">" + caption + "</p></h2>";
  };
  const auto head = [](const std::string& charset, const std::string& title) {
    return Lines{
        "<html>",
        "<head>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset + "\">",
        "<title>" + title + "</title>",
        "</head>",
        "<body>"};
  };
  Lines general = {heading("General"), "<br>"};
  for (std::size_t i = 0; i < 13; ++i) general.insert(general.end(), {Numbered('g', i), "<br>"});
  general.push_back("");
  const Lines memory = {
      heading("Memory"), "<br>", "m0", "<br>", "m1", "<br>", "m2", "<br>", "m3", "<br>"};
  const Lines end = {"</body>", "</html>"};

  ReportContent marked =
      Bare({"General", "Drives", "Memory", "Start & stop", "Installed programs"});
  marked.computerName = "PC<1>";
  marked.driveLines = {"Drive C: Fixed (NTFS) a \"b\""};
  marked.processLines = {"C:\\a&b.exe"};
  marked.startupRows = {{"<script>alert(1)</script>", ""}};
  marked.programRows = {{"Tom & Jerry <Beta>", "Acme \"Ltd\""}};

  const struct {
    const char* name;
    ReportContent content;
    unsigned codePage;
    Lines lines;
  } cases[] = {
      {"nothing listed: heading, line break and closing line", Bare(kEnglishTabs), 1252,
       Concat({head("windows-1252", "WINEHOST"),
               general,
               {heading("Drives"), "<br>", "<br>"},
               memory,
               {"<br>"},
               {heading("Startup list"), "<br>", "<br>"},
               {heading("Installed programs"), "<br>", ""},
               end})},
      {"markup in every kind of line", marked, 1250,
       Concat({head("windows-1250", "PC&lt;1&gt;"),
               general,
               {heading("Drives"), "<br>", "Drive C: Fixed (NTFS) a &quot;b&quot;", "<br>", "<br>"},
               memory,
               {"C:\\a&amp;b.exe", "<br>", "<br>"},
               {heading("Start &amp; stop"), "<br>", "&lt;script&gt;alert(1)&lt;/script&gt; - ",
                "<br>", "<br>"},
               {heading("Installed programs"), "<br>",
                "Tom &amp; Jerry &lt;Beta&gt; - Acme &quot;Ltd&quot;", "<br>", ""},
               end})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HtmlReportLines(c.content, c.codePage), c.lines) << c.name;
  }
}

TEST(ReportLines, HtmlEscapeReplacesTheFourMarkupCharactersOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"&<>\"", "&amp;&lt;&gt;&quot;"},
      {"&amp;", "&amp;amp;"},  // already escaped text is shown as it was displayed
      {"it's \xE4\xF6\xFC", "it's \xE4\xF6\xFC"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& [text, escaped] : cases) EXPECT_EQ(HtmlEscape(text), escaped) << text;
}

TEST(ReportLines, HostileNamesCannotForgeTextReportLines) {
  const struct {
    const char* why;
    ReportRow row;
    std::string first;  // the General row that held row.first
    std::string line;   // the list row's line
  } cases[] = {
      {"CR LF would start a forged heading",
       {"Tool\r\n************** Drives **************", "Acme"},
       "Tool  ************** Drives **************",
       "Tool  ************** Drives ************** - Acme"},
      {"a lone LF or CR breaks a line in most viewers", {"a\nb", "c\rd"}, "a b", "a b - c d"},
      {"every byte below 0x20", {"\x01\t\x1F", std::string("x\0y", 3)}, "   ", "    - x y"},
      {"bytes from 0x20 up stay", {"\x7F\xE4 ~", "Acme"}, "\x7F\xE4 ~", "\x7F\xE4 ~ - Acme"},
  };
  const std::size_t bareLines = TextReportLines(Bare(kEnglishTabs)).size();
  for (const auto& c : cases) {
    ReportContent content = Bare(kEnglishTabs);
    content.generalRows[0] = c.row.first;
    content.programRows = {c.row};
    const Lines lines = TextReportLines(content);
    ASSERT_EQ(lines.size(), bareLines + 1) << c.why;
    EXPECT_EQ(lines[2], c.first) << c.why;
    EXPECT_EQ(lines.end()[-2], c.line) << c.why;
    // The file's only line breaks are the report's own.
    const std::string file = JoinCrLf(lines);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), std::ptrdiff_t(lines.size())) << c.why;
    EXPECT_EQ(std::count(file.begin(), file.end(), '\r'), std::ptrdiff_t(lines.size())) << c.why;
  }
}

TEST(ReportLines, CharsetNamesOfTheAnsiCodePages) {
  const std::pair<unsigned, std::string> cases[] = {
      {1250, "windows-1250"},  {1251, "windows-1251"}, {1252, "windows-1252"},
      {1253, "windows-1253"},  {1254, "windows-1254"}, {1255, "windows-1255"},
      {1256, "windows-1256"},  {1257, "windows-1257"}, {1258, "windows-1258"},
      {874, "windows-874"},    {932, "shift_jis"},     {936, "gb2312"},
      {949, "ks_c_5601-1987"}, {950, "big5"},          {65001, "utf-8"},
      {437, "windows-437"},    {0, "windows-0"},       {4294967295u, "windows-4294967295"},
  };
  for (const auto& [codePage, name] : cases) EXPECT_EQ(CharsetName(codePage), name) << codePage;
}

TEST(ReportLines, EveryLineEndsWithCrLf) {
  const std::pair<Lines, std::string> cases[] = {
      {{}, ""},
      {{""}, "\r\n"},
      {{"a", ""}, "a\r\n\r\n"},
      {{"a\nb", "c"}, "a\nb\r\nc\r\n"},
  };
  for (const auto& [lines, bytes] : cases) EXPECT_EQ(JoinCrLf(lines), bytes);
  // The text report ends with two CR LF pairs in a row.
  const std::string text = JoinCrLf(TextReportLines(Bare(kEnglishTabs)));
  EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
}

}  // namespace
}  // namespace orv
