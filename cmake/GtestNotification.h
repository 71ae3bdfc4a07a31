// GoogleTest's Notification, for the compilers' win32 thread model, which has no std::mutex.
// GoogleTest uses it only in its own tests of its threads; everything else locks with GoogleTest's
// Windows mutex. Force-included ahead of GoogleTest (GTEST_HAS_NOTIFICATION_).
#pragma once

#include <atomic>

namespace testing::internal {

class Notification {
 public:
  Notification() = default;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { notified_.store(true, std::memory_order_release); }
  void WaitForNotification() const {
    while (!notified_.load(std::memory_order_acquire)) {
    }
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace testing::internal
