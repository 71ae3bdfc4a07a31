// What every benchmark program measures with: a high-resolution clock in milliseconds and the
// peak working set of a process.
#pragma once

#include <windows.h>

#include <psapi.h>

#include <cstdint>

namespace orv::bench {

inline double NowMs() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Bytes; 0 when the process cannot be asked.
inline std::uint64_t PeakWorkingSet(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(process, &counters, sizeof(counters))) return 0;
  return counters.PeakWorkingSetSize;
}

}  // namespace orv::bench
