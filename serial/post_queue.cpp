#include "serial/post_queue.h"

namespace tv {

class PostQueue::Poster final : public UiPoster {
public:
    Poster(PostQueue& queue, UiDeliver deliver)
        : m_queue(queue), m_target(std::make_shared<Target>(Target{std::move(deliver), true})) {}
    ~Poster() override { m_target->alive = false; }
    void post(uint32_t message) override { m_queue.push(m_target, message); }

private:
    PostQueue& m_queue;
    std::shared_ptr<Target> m_target;
};

UiPosterFactory PostQueue::factory() {
    return [this](UiDeliver deliver) -> std::unique_ptr<UiPoster> {
        return std::make_unique<Poster>(*this, std::move(deliver));
    };
}

void PostQueue::push(std::shared_ptr<Target> target, uint32_t message) {
    {
        std::lock_guard lock(m_mutex);
        m_queue.emplace_back(std::move(target), message);
    }
    m_arrived.notify_one();
}

size_t PostQueue::runPending() {
    size_t ran = 0;
    for (;;) {
        std::pair<std::shared_ptr<Target>, uint32_t> next;
        {
            std::lock_guard lock(m_mutex);
            if (m_queue.empty()) return ran;
            next = std::move(m_queue.front());
            m_queue.pop_front();
        }
        // One at a time and outside the lock: a handler may post, or run the
        // queue itself while it waits for a reply.
        if (next.first->alive) {
            next.first->deliver(next.second);
            ++ran;
        }
    }
}

size_t PostQueue::waitAndRun(std::chrono::milliseconds timeout) {
    {
        std::unique_lock lock(m_mutex);
        m_arrived.wait_for(lock, timeout, [&] { return !m_queue.empty(); });
    }
    return runPending();
}

size_t PostQueue::pending() const {
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

}  // namespace tv
