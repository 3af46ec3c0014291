#pragma once
// TNotifyEvent: an event of the serial component, a callback called with the
// component as sender. It is bound and called on the UI thread; the monitor
// thread only asks whether it is bound, which is an atomic flag, so a handler
// bound or unbound while the port is open is seen from a later event on.
#include <atomic>
#include <functional>

namespace tv {

class Trs232c;

class TNotifyEvent {
public:
    using Handler = std::function<void(Trs232c& sender)>;

    TNotifyEvent() = default;
    TNotifyEvent(const TNotifyEvent&) = delete;
    TNotifyEvent& operator=(const TNotifyEvent&) = delete;

    // Binds `handler`; an empty one (nullptr) unbinds.
    TNotifyEvent& operator=(Handler handler) {
        m_handler = std::move(handler);
        m_bound.store(static_cast<bool>(m_handler), std::memory_order_release);
        return *this;
    }

    bool bound() const { return m_bound.load(std::memory_order_acquire); }

    void operator()(Trs232c& sender) const {
        // A copy: the handler may bind another one to this event while it runs.
        const Handler handler = m_handler;
        if (handler) handler(sender);
    }

private:
    Handler m_handler;
    std::atomic<bool> m_bound{false};
};

}  // namespace tv
