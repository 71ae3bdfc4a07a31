#include "report/ReportLines.h"

#include <utility>

#include "base/TextRules.h"

namespace orv {
namespace {

// The General heading has twelve asterisks before its caption and fifteen after, the others
// fourteen on both sides: stored reports and the people who read them rely on these lines.
std::string TextHeading(const std::string& caption, bool general) {
  const std::string before(general ? 12 : 14, '*');
  const std::string after(general ? 15 : 14, '*');
  return before + " " + caption + " " + after;
}

std::string HtmlHeading(const std::string& caption) {
  return "<h2><p align=\"center\">" + HtmlEscape(caption) + "</p></h2>";
}

// A name from the registry or a file holding CR, LF or another control byte would start lines
// of its own in the text report, even forged headings; each such byte becomes a blank.
std::string BlankControls(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return text;
}

std::vector<std::string> RowLines(const std::vector<ReportRow>& rows) {
  std::vector<std::string> lines;
  lines.reserve(rows.size());
  for (const ReportRow& row : rows) lines.push_back(RowLine(row));
  return lines;
}

// One section of either report: its heading and its text lines in order.
struct Section {
  std::string caption;
  std::vector<std::string> lines;
};

std::vector<Section> Sections(const ReportContent& c) {
  std::vector<std::string> memory(c.memoryRows.begin(), c.memoryRows.end());
  memory.insert(memory.end(), c.processLines.begin(), c.processLines.end());
  return {
      {c.tabCaptions[0], {c.generalRows.begin(), c.generalRows.end()}},
      {c.tabCaptions[1], c.driveLines},
      {c.tabCaptions[2], std::move(memory)},
      {c.tabCaptions[3], RowLines(c.startupRows)},
      {c.tabCaptions[4], RowLines(c.programRows)},
  };
}

}  // namespace

std::string DriveLine(std::string_view label, std::string_view size, std::string_view used,
                      std::string_view free) {
  std::string line(label);
  for (const std::string_view part : {size, used, free}) {
    line += ' ';
    line += part;
  }
  return line;
}

std::string RowLine(const ReportRow& row) { return row.first + " - " + row.second; }

std::vector<std::string> TextReportLines(const ReportContent& content) {
  std::vector<std::string> out;
  bool general = true;
  for (const Section& section : Sections(content)) {
    out.push_back(TextHeading(BlankControls(section.caption), general));
    out.emplace_back();
    for (const std::string& line : section.lines) out.push_back(BlankControls(line));
    out.emplace_back();
    general = false;
  }
  return out;
}

std::vector<std::string> HtmlReportLines(const ReportContent& content, unsigned codePage) {
  std::vector<std::string> out = {
      "<html>",
      "<head>",
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + CharsetName(codePage) +
          "\">",
      "<title>" + HtmlEscape(content.computerName) + "</title>",
      "</head>",
      "<body>",
  };
  // The General and Installed programs sections close with an empty line, the others with a
  // line break that shows as a blank line before the next heading.
  const char* const closing[] = {"", "<br>", "<br>", "<br>", ""};
  std::size_t index = 0;
  for (const Section& section : Sections(content)) {
    out.push_back(HtmlHeading(section.caption));
    out.emplace_back("<br>");
    for (const std::string& line : section.lines) {
      out.push_back(HtmlEscape(line));
      out.emplace_back("<br>");
    }
    out.emplace_back(closing[index++]);
  }
  out.emplace_back("</body>");
  out.emplace_back("</html>");
  return out;
}

std::string HtmlEscape(std::string_view text) {
  static constexpr CharReplacement kEntities[] = {
      {'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}};
  return ReplaceChars(text, kEntities);
}

std::string CharsetName(unsigned codePage) {
  switch (codePage) {
    case 932:
      return "shift_jis";
    case 936:
      return "gb2312";
    case 949:
      return "ks_c_5601-1987";
    case 950:
      return "big5";
    case 65001:
      // Windows 10 and later can run with UTF-8 as the ANSI code page.
      return "utf-8";
    default:
      return "windows-" + std::to_string(codePage);
  }
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string out;
  out.reserve(size);
  for (const std::string& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace orv
