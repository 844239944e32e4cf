// GoogleTest's own customisation point, found before the distribution's copy.
// GoogleTest's Windows threading is its own (critical sections, CreateThread)
// except for Notification, written with std::mutex and
// std::condition_variable, which the Windows-threads C++ runtime of this
// build lacks. Only GoogleTest's self-tests wait on one.
#pragma once

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { notified_.store(true); }
    void WaitForNotification() const {
        while (!notified_.load()) {
        }
    }

private:
    std::atomic<bool> notified_{false};
};

}  // namespace internal
}  // namespace testing
