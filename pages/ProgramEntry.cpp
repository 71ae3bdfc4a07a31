#include "pages/ProgramEntry.h"

#include <algorithm>

#include "base/TextRules.h"

namespace orv {
namespace {

bool UpperContains(std::string_view text, std::string_view what) {
  return UpperAscii(text).find(what) != std::string::npos;
}

// Escapes of the bar and of the escape byte itself inside a field.
constexpr char kEscape = '\x01';
constexpr char kEscapedBar = 'b';
constexpr char kEscapedEscape = 'a';

void AppendEscaped(std::string& out, std::string_view field) {
  for (const char c : field) {
    if (c == '|' || c == kEscape) {
      out += kEscape;
      out += c == '|' ? kEscapedBar : kEscapedEscape;
    } else {
      out += c;
    }
  }
}

// The field from pos up to the next "|", escapes undone, and pos moved past that bar (or to the
// end). An escape byte before anything else stands for itself.
std::string NextField(std::string_view text, std::size_t& pos) {
  std::string field;
  for (pos = std::min(pos, text.size()); pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '|') {
      ++pos;
      break;
    }
    if (c == kEscape && pos + 1 < text.size() &&
        (text[pos + 1] == kEscapedBar || text[pos + 1] == kEscapedEscape)) {
      field += text[++pos] == kEscapedBar ? '|' : kEscape;
    } else {
      field += c;
    }
  }
  return field;
}

}  // namespace

std::string JoinProgramEntry(const ProgramEntry& entry) {
  std::string joined;
  joined.reserve(entry.name.size() + entry.publisher.size() + entry.keyPath.size() +
                 entry.command.size() + 5);
  AppendEscaped(joined, entry.name);
  joined += '|';
  AppendEscaped(joined, entry.publisher);
  joined.append(1, '|').append(1, entry.root).append(1, '|');
  AppendEscaped(joined, entry.keyPath);
  joined.append(1, '|').append(entry.command);
  return joined;
}

ProgramEntry SplitProgramEntry(std::string_view entry) {
  ProgramEntry fields;
  std::size_t pos = 0;
  fields.name = NextField(entry, pos);
  fields.publisher = NextField(entry, pos);
  if (pos < entry.size()) fields.root = entry[pos];
  pos += 2;
  fields.keyPath = NextField(entry, pos);
  if (pos < entry.size()) fields.command = entry.substr(pos);
  return fields;
}

std::string ProgramEntryName(std::string_view entry) {
  std::size_t pos = 0;
  return NextField(entry, pos);
}

std::optional<std::string> AcceptUninstallEntry(
    const UninstallValues& values, char rootLetter, const std::string& subkeyPath,
    const std::unordered_set<std::string>& listedNames) {
  if (values.flag("SystemComponent")) return std::nullopt;
  if (!values.exists("UninstallString") && !values.exists("QuietUninstallString")) {
    return std::nullopt;
  }
  ProgramEntry entry;
  entry.name = values.text("DisplayName");
  if (entry.name.empty() || UpperContains(entry.name, "WINDOWS LIVE")) return std::nullopt;
  if (listedNames.count(entry.name) != 0) return std::nullopt;
  const std::string releaseType = UpperAscii(values.text("ReleaseType"));
  if (releaseType.find("HOTFIX") != std::string::npos ||
      releaseType.find("UPDATE") != std::string::npos) {
    return std::nullopt;
  }
  if (UpperContains(entry.name, "(KB")) return std::nullopt;
  const std::string plain = values.text("UninstallString");
  const std::string quiet = values.text("QuietUninstallString");
  entry.command = quiet.empty() ? plain : quiet;
  if (entry.command.empty()) return std::nullopt;
  entry.publisher = values.text("Publisher");
  entry.root = rootLetter;
  entry.keyPath = subkeyPath;
  return JoinProgramEntry(entry);
}

void SortProgramEntries(std::vector<std::string>& entries, const EntryCompareFn& compare) {
  std::stable_sort(
      entries.begin(), entries.end(),
      [&compare](const std::string& a, const std::string& b) { return compare(a, b) < 0; });
}

bool IsMsiProductCommand(std::string_view command) {
  return UpperAscii(command).rfind("MSIEXEC", 0) == 0 &&
         command.find('{') != std::string_view::npos;
}

}  // namespace orv
