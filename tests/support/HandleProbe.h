// Leak probe for kernel and registry handles that works under Wine as on Windows.
// Wine does not implement GetProcessHandleCount, but both systems hand out the lowest free slot of
// the process handle table: a handle left open by the code under test occupies the slot that the
// probe found free before the call, so the next probe handle lands elsewhere.
#pragma once

#include <windows.h>

namespace orv::test {

inline HANDLE NextFreeHandleSlot() {
  HANDLE h = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  CloseHandle(h);
  return h;
}

// Usage: HandleProbe probe; CodeUnderTest(); EXPECT_TRUE(probe.NothingLeaked());
class HandleProbe {
 public:
  HandleProbe() : slot_(NextFreeHandleSlot()) {}
  bool NothingLeaked() const { return NextFreeHandleSlot() == slot_; }

 private:
  HANDLE slot_;
};

}  // namespace orv::test
