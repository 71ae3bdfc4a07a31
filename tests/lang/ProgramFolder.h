// The program folder of the build under test (where the language files and the help file are
// placed), found from the test program's own location.
#pragma once

#include <windows.h>

#include <string>

namespace orv::test {

inline std::string ProgramFolder() {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string dir(exe);
  dir.erase(dir.find_last_of('\\') + 1);
  std::string relative = ORV_TEST_PROGRAM_FOLDER;  // relative to the test program's folder
  for (char& c : relative) {
    if (c == '/') c = '\\';
  }
  char full[MAX_PATH] = {};
  GetFullPathNameA((dir + relative).c_str(), MAX_PATH, full, nullptr);
  return full;
}

}  // namespace orv::test
