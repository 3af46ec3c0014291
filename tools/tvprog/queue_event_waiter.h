#pragma once
// How a command waits for the unit without a window: it runs the serial
// component's posted events from a PostQueue, sleeping while there are none,
// until the deadline or a stop signal (SIGINT, SIGTERM).
#include <atomic>

#include "device/device_link.h"
#include "serial/post_queue.h"

namespace tv {

class QueueEventWaiter : public EventWaiter {
public:
    QueueEventWaiter(PostQueue& queue, const std::atomic<bool>& stopRequested)
        : m_queue(queue), m_stop(stopRequested) {}

    Outcome waitForEvents(std::chrono::steady_clock::time_point deadline) override;

    // Handles events until `deadline`; false when a stop was asked meanwhile.
    bool runUntil(std::chrono::steady_clock::time_point deadline);

private:
    PostQueue& m_queue;
    const std::atomic<bool>& m_stop;
};

}  // namespace tv
