#pragma once
// A UI thread's message queue in plain C++: posters made by factory() queue
// messages from any thread, and the thread that owns the queue runs them one at
// a time in posting order. For programs and tests without a Qt event loop.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <utility>

#include "serial/ui_poster.h"

namespace tv {

class PostQueue {
public:
    PostQueue() = default;
    PostQueue(const PostQueue&) = delete;
    PostQueue& operator=(const PostQueue&) = delete;

    // The queue must outlive the posters it makes.
    UiPosterFactory factory();

    // Runs queued messages until none is left; returns how many ran. Safe to
    // call again from inside a message's handler.
    size_t runPending();
    // Waits up to `timeout` for a message, then runs what is queued.
    size_t waitAndRun(std::chrono::milliseconds timeout);
    size_t pending() const;

private:
    // Where a poster's messages go. `alive` is touched only on the owning
    // thread: the poster clears it there, and runPending reads it there.
    struct Target {
        UiDeliver deliver;
        bool alive = true;
    };
    class Poster;

    void push(std::shared_ptr<Target> target, uint32_t message);

    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<std::pair<std::shared_ptr<Target>, uint32_t>> m_queue;
};

}  // namespace tv
