// Leak probe for kernel and registry handles that works under Wine as on Windows. Wine does not
// implement GetProcessHandleCount, so the probe counts the open handles itself: it asks for the
// flags of every slot of the process handle table up to a bound far above what a test process
// uses. Every handle the code under test leaves open, of any kind and in any slot, adds one.
#pragma once

#include <windows.h>

#include <cstdint>

namespace orv::test {

inline int OpenHandleCount() {
  // Handle values are multiples of 4; 4096 slots is many times what a test process holds.
  constexpr std::uintptr_t kLastValue = 4 * 4096;
  int count = 0;
  for (std::uintptr_t value = 4; value <= kLastValue; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

// Usage: HandleProbe probe; CodeUnderTest(); EXPECT_TRUE(probe.NothingLeaked());
class HandleProbe {
 public:
  HandleProbe() : before_(OpenHandleCount()) {}
  int Leaked() const { return OpenHandleCount() - before_; }
  bool NothingLeaked() const { return Leaked() == 0; }

 private:
  int before_;
};

}  // namespace orv::test
