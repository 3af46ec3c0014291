#pragma once
// How the monitor thread hands an event to the UI thread: a poster queues a
// message number; the UI thread later runs the component's message procedure
// with it, in posting order. A poster is made on the UI thread when the
// component is constructed; messages still queued when it is destroyed are dropped.
#include <cstdint>
#include <functional>
#include <memory>

namespace tv {

class UiPoster {
public:
    virtual ~UiPoster() = default;
    // Thread-safe and never blocks; called from the monitor thread.
    virtual void post(uint32_t message) = 0;
};

// Runs on the UI thread for each posted message.
using UiDeliver = std::function<void(uint32_t message)>;
// Makes the poster that brings messages to `deliver`.
using UiPosterFactory = std::function<std::unique_ptr<UiPoster>(UiDeliver deliver)>;

}  // namespace tv
