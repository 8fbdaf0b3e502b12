// GoogleTest's Notification for the MinGW compilers with Win32 threads,
// which have no std::mutex or std::condition_variable. GoogleTest uses it
// only to start its own helper threads; the tests run on one thread.
#pragma once

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  void Notify() { notified_.store(true); }
  void WaitForNotification() {
    while (!notified_.load()) {
    }
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace testing::internal
