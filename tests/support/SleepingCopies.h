// Copies of a test program that only sleep until they are ended: for tests that count processes.
// A test program declares `const bool kIsSleeper = orv::test::SleepIfAskedTo(kFlag);` at namespace
// scope, so a copy started with that flag sleeps before GoogleTest ever sees its command line.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace orv::test {

inline bool SleepIfAskedTo(const char* flag) {
  if (std::strstr(GetCommandLineA(), flag)) {
    Sleep(60000);
    ExitProcess(0);
  }
  return false;
}

class SleepingCopies {
 public:
  // Starts count copies of exe with flag. Without a console: under Wine a child given a hidden
  // console of its own gets a console host that outlives it and holds on to the test's output.
  SleepingCopies(const std::string& exe, const char* flag, int count) {
    for (int i = 0; i < count; ++i) {
      std::string commandLine = "\"" + exe + "\" " + flag;
      STARTUPINFOA si = {};
      si.cb = sizeof si;
      PROCESS_INFORMATION pi = {};
      if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS,
                          nullptr, nullptr, &si, &pi)) {
        return;
      }
      started_.push_back(pi);
    }
  }
  ~SleepingCopies() {
    for (PROCESS_INFORMATION& pi : started_) {
      TerminateProcess(pi.hProcess, 0);
      WaitForSingleObject(pi.hProcess, 5000);
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
    }
  }
  SleepingCopies(const SleepingCopies&) = delete;
  SleepingCopies& operator=(const SleepingCopies&) = delete;

  std::size_t Count() const { return started_.size(); }

 private:
  std::vector<PROCESS_INFORMATION> started_;
};

}  // namespace orv::test
