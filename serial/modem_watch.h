#pragma once
// Waits for modem-line changes (CTS, DSR, RING, carrier) on a serial device
// with TIOCMIWAIT, which blocks in the kernel and cannot be polled, so it gets a
// thread of its own. Each change it sees is announced on an eventfd that the
// event wait polls. Devices without TIOCMIWAIT (pseudo-terminals among them)
// simply never report a change.
#include <atomic>
#include <cstdint>
#include <thread>

namespace tv {

class ModemWatch {
public:
    // `eventBits` selects which of EV_CTS, EV_DSR, EV_RING, EV_RLSD to watch.
    ModemWatch(int portFd, int notifyFd, uint32_t eventBits);
    ~ModemWatch();
    ModemWatch(const ModemWatch&) = delete;
    ModemWatch& operator=(const ModemWatch&) = delete;

    // The EV_ bits of the changes seen since the last call.
    uint32_t takeEvents() { return m_pending.exchange(0); }

private:
    void run();

    int m_portFd;
    int m_notifyFd;
    uint32_t m_eventBits;
    std::atomic<uint32_t> m_pending{0};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};

}  // namespace tv
