// Both reports' lines from any page texts: the HTML report lets no markup through from the data,
// and the report file holds every line with its CR LF.
#include "fuzz/FuzzInput.h"
#include "report/ReportLines.h"

namespace {

// True when every "&" starts one of the four references HtmlEscape writes and no "<", ">" or '"'
// is left.
bool EscapedOnly(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '<' || c == '>' || c == '"') return false;
    if (c != '&') continue;
    const std::string_view rest = std::string_view(text).substr(i);
    if (!rest.starts_with("&amp;") && !rest.starts_with("&lt;") && !rest.starts_with("&gt;") &&
        !rest.starts_with("&quot;")) {
      return false;
    }
  }
  return true;
}

// The line without the report's own markup around it; a data line comes back whole.
std::string FrameFree(const std::string& line) {
  static const std::string_view kFixed[] = {"<html>", "<head>", "</head>", "<body>",
                                            "<br>",   "",       "</body>", "</html>"};
  for (const std::string_view fixed : kFixed) {
    if (line == fixed) return std::string();
  }
  if (line.starts_with("<meta http-equiv=")) return std::string();
  struct Frame {
    std::string_view open;
    std::string_view close;
  };
  static const Frame kFrames[] = {{"<title>", "</title>"},
                                  {"<h2><p align=\"center\">", "</p></h2>"}};
  for (const Frame& frame : kFrames) {
    if (line.starts_with(frame.open) && line.ends_with(frame.close) &&
        line.size() >= frame.open.size() + frame.close.size()) {
      return line.substr(frame.open.size(), line.size() - frame.open.size() - frame.close.size());
    }
  }
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  orv::ReportContent content;
  content.computerName = in.ConsumeRandomLengthString(32);
  for (std::string& caption : content.tabCaptions) caption = in.ConsumeRandomLengthString(16);
  for (std::string& row : content.generalRows) row = in.ConsumeRandomLengthString(32);
  for (std::string& row : content.memoryRows) row = in.ConsumeRandomLengthString(32);
  const std::size_t lists = in.ConsumeIntegralInRange<std::size_t>(0, 8);
  for (std::size_t i = 0; i < lists; ++i) {
    content.driveLines.push_back(orv::DriveLine(in.ConsumeRandomLengthString(16), "1", "2", "3"));
    content.processLines.push_back(in.ConsumeRandomLengthString(16));
    content.startupRows.push_back(
        {in.ConsumeRandomLengthString(16), in.ConsumeRandomLengthString(16)});
    content.programRows.push_back(
        {in.ConsumeRandomLengthString(16), in.ConsumeRandomLengthString(16)});
  }
  const unsigned codePage = in.ConsumeIntegral<unsigned>();
  const std::string free = in.ConsumeRemainingBytesAsString();

  const std::string escaped = orv::HtmlEscape(free);
  orv::fuzz::Require(EscapedOnly(escaped), "escaped text holds no markup");

  const std::vector<std::string> text = orv::TextReportLines(content);
  const std::vector<std::string> html = orv::HtmlReportLines(content, codePage);
  // Markup comes only from the report's own frame; every text from the pages is escaped.
  for (const std::string& line : html) {
    orv::fuzz::Require(EscapedOnly(FrameFree(line)), "page texts are escaped");
  }
  orv::fuzz::Require(text.size() == 5 * 3 + 13 + 4 + 4 * lists, "one text line per shown line");

  const std::string file = orv::JoinCrLf(text);
  std::size_t expected = 0;
  for (const std::string& line : text) expected += line.size() + 2;
  orv::fuzz::Require(file.size() == expected, "each line ends with CR LF");
  for (const std::string& line : text) {
    for (const char c : line) {
      orv::fuzz::Require(static_cast<unsigned char>(c) >= 0x20, "no text breaks its line");
    }
  }
  orv::CharsetName(codePage);
  return 0;
}
