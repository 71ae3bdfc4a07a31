#include "app/ShellText.h"

#include "base/TextRules.h"

namespace orv {

std::string ProgramDirectory(const std::string& programPath) {
  const std::size_t last = programPath.find_last_of("\\:");
  if (last == std::string::npos) return std::string();
  std::size_t end = last + 1;
  // The backslash goes unless it is the root's own, after a drive's colon or another backslash.
  if (programPath[last] == '\\' && last > 0 && programPath[last - 1] != ':' &&
      programPath[last - 1] != '\\') {
    end = last;
  }
  return programPath.substr(0, end);
}

std::string CutAfterLastBackslash(const std::string& path) {
  const std::size_t last = path.rfind('\\');
  if (last == std::string::npos) return std::string();
  return path.substr(0, last + 1);
}

std::wstring FirstNonEmpty(const std::wstring& first, const std::function<std::wstring()>& second,
                           const std::function<std::wstring()>& third) {
  if (!first.empty()) return first;
  std::wstring text = second();
  if (!text.empty()) return text;
  return third();
}

}  // namespace orv
