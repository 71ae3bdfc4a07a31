// Times a program's start from outside, as a user sees it: from the moment it is started until
// its window (found by class name) is visible and every row named on the command line has its
// value, read from the other process with WM_GETTEXT. Prints the milliseconds and the program's
// peak working set in bytes, then closes the program.
//   bench_observe <window class> <program> <arguments, "" for none> <row prefix>...
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "bench/BenchClock.h"

namespace {

struct Search {
  const std::vector<std::string>* prefixes;
  std::vector<bool> found;
};

BOOL CALLBACK CheckChild(HWND child, LPARAM param) {
  auto& search = *reinterpret_cast<Search*>(param);
  char text[512] = {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(child, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, 1000, &length)) {
    return TRUE;
  }
  const std::string caption(text, length);
  for (std::size_t i = 0; i < search.prefixes->size(); ++i) {
    if (caption.rfind((*search.prefixes)[i], 0) == 0) search.found[i] = true;
  }
  return TRUE;
}

// The prefixes that no child window's text starts with.
std::vector<std::string> MissingRows(HWND window, const std::vector<std::string>& prefixes) {
  Search search{&prefixes, std::vector<bool>(prefixes.size(), false)};
  EnumChildWindows(window, CheckChild, reinterpret_cast<LPARAM>(&search));
  std::vector<std::string> missing;
  for (std::size_t i = 0; i < prefixes.size(); ++i) {
    if (!search.found[i]) missing.push_back(prefixes[i]);
  }
  return missing;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: bench_observe <window class> <program> <arguments> <row prefix>...\n");
    return 2;
  }
  const char* windowClass = argv[1];
  const std::string program = argv[2];
  std::string commandLine = "\"" + program + "\" " + argv[3];
  const std::vector<std::string> prefixes(argv + 4, argv + argc);
  const std::string folder = program.substr(0, program.find_last_of("\\/") + 1);

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  const double start = orv::bench::NowMs();
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    std::fprintf(stderr, "cannot start %s (%lu)\n", program.c_str(), GetLastError());
    return 1;
  }
  const orv::UniqueHandleNull process(info.hProcess);
  const orv::UniqueHandleNull thread(info.hThread);

  HWND window = nullptr;
  double elapsed = -1;
  std::vector<std::string> missing = prefixes;
  while (orv::bench::NowMs() - start < 30000) {
    window = FindWindowA(windowClass, nullptr);
    if (window && IsWindowVisible(window)) {
      missing = MissingRows(window, prefixes);
      if (missing.empty()) {
        elapsed = orv::bench::NowMs() - start;
        break;
      }
    }
    if (WaitForSingleObject(process.Get(), 1) == WAIT_OBJECT_0) break;
  }
  const unsigned long long peak = orv::bench::PeakWorkingSet(process.Get());
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.Get(), 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process.Get(), 1);
    WaitForSingleObject(process.Get(), 5000);
  }
  if (elapsed < 0) {
    std::fprintf(stderr, "%s showed no filled window; rows not seen:", program.c_str());
    for (const std::string& prefix : missing) std::fprintf(stderr, " \"%s\"", prefix.c_str());
    std::fprintf(stderr, "\n");
    return 1;
  }
  std::printf("%.3f %llu\n", elapsed, peak);
  return 0;
}
