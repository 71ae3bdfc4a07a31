// The lines of the text and HTML reports, built from what the five information pages showed when
// the report was gathered. Platform-neutral, so the host build tests and fuzzes it; every
// function accepts any text.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// One list row as the report writes it: first + " - " + second.
struct ReportRow {
  std::string first;
  std::string second;
};

// What the pages displayed, in tab order.
struct ReportContent {
  std::string computerName;                 // the HTML title
  std::array<std::string, 5> tabCaptions;   // Page1 to Page5, the section headings
  std::array<std::string, 13> generalRows;  // Page1Label01 to Page1Label13
  std::vector<std::string> driveLines;      // one per fixed drive, see DriveLine
  std::array<std::string, 4> memoryRows;    // Page3Label01 to Page3Label04
  std::vector<std::string> processLines;    // Page3List
  std::vector<ReportRow> startupRows;       // Page4List: program, location
  std::vector<ReportRow> programRows;       // Page5List: name, publisher
};

// A fixed drive's line: its label and the size, used and free captions joined by single blanks.
std::string DriveLine(std::string_view label, std::string_view size, std::string_view used,
                      std::string_view free);

// The row's two texts joined by " - " (a blank, a hyphen-minus, a blank).
std::string RowLine(const ReportRow& row);

// The text report, one entry per line; a byte below 0x20 in any text becomes a blank, so that
// no entry can break its line.
std::vector<std::string> TextReportLines(const ReportContent& content);

// The HTML report, one entry per line; codePage is the ANSI code page the file is written in and
// names the page's character set.
std::vector<std::string> HtmlReportLines(const ReportContent& content, unsigned codePage);

// "&", "<", ">" and '"' as HTML character references; every other byte unchanged.
std::string HtmlEscape(std::string_view text);

// The name browsers know an ANSI code page by ("windows-1252", "shift_jis", ...).
std::string CharsetName(unsigned codePage);

// The lines with CR LF after every one, the last included: the bytes of the report file.
std::string JoinCrLf(const std::vector<std::string>& lines);

}  // namespace orv
