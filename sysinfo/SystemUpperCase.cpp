// The system's upper-casing for path comparisons: on Windows the ANSI code page's own rules, so a
// double-byte character's trail byte (which may look like an ASCII letter) is never changed.
#include "sysinfo/PathResolve.h"

#include "base/TextRules.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace orv {

std::string SystemUpperCase(std::string_view text) {
#ifdef _WIN32
  std::string out(text);
  if (!out.empty()) CharUpperBuffA(out.data(), static_cast<DWORD>(out.size()));
  return out;
#else
  return UpperAscii(text);
#endif
}

}  // namespace orv
