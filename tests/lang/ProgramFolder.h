// The program folder of the build under test (where the language files and the help file are
// placed), found from the test program's own location.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

#include "tests/support/WinTestTools.h"

namespace orv::test {

inline std::string ProgramFolder() {
  std::string dir = ThisProgram();
  dir.erase(dir.find_last_of('\\') + 1);
  std::string relative = ORV_TEST_PROGRAM_FOLDER;  // relative to the test program's folder
  std::replace(relative.begin(), relative.end(), '/', '\\');
  char full[MAX_PATH] = {};
  GetFullPathNameA((dir + relative).c_str(), MAX_PATH, full, nullptr);
  return full;
}

}  // namespace orv::test
