#include "tools/tvprog/queue_event_waiter.h"

#include <algorithm>

namespace tv {

namespace {
// A stop signal does not wake the queue's wait, so it sleeps in short slices.
constexpr std::chrono::milliseconds kSlice{50};
}  // namespace

EventWaiter::Outcome QueueEventWaiter::waitForEvents(
    std::chrono::steady_clock::time_point deadline) {
    using namespace std::chrono;
    for (;;) {
        if (m_stop.load()) return Outcome::ShuttingDown;
        const auto remaining = duration_cast<milliseconds>(deadline - steady_clock::now());
        if (remaining.count() <= 0) return Outcome::TimedOut;
        if (m_queue.waitAndRun(std::min(remaining + milliseconds(1), kSlice)) > 0) {
            return Outcome::Handled;
        }
    }
}

bool QueueEventWaiter::runUntil(std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        switch (waitForEvents(deadline)) {
            case Outcome::Handled:
                break;
            case Outcome::TimedOut:
                return true;
            case Outcome::ShuttingDown:
                return false;
        }
    }
}

}  // namespace tv
