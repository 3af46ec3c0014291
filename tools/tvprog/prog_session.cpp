#include "tools/tvprog/prog_session.h"

#include <algorithm>
#include <array>
#include <thread>

namespace tv {

namespace {
// A dump's 129 bytes take 134 ms at 9600 bit/s, and an adapter may hold bytes
// for some 16 ms more: a line quiet this long has nothing more on its way.
constexpr std::chrono::milliseconds kQuiet{250};
// A unit that never stops sending does not hold the command longer than this.
constexpr std::chrono::milliseconds kQuietLimit{2000};
constexpr std::chrono::milliseconds kPoll{10};
}  // namespace

ProgSession::ProgSession(const std::atomic<bool>& stopRequested, std::ostream& notes)
    : m_stop(stopRequested),
      m_rs232c(m_queue.factory()),
      m_waiter(m_queue, stopRequested),
      m_view(notes),
      m_link(m_port, m_waiter, m_view) {
    // As in the window: the component's events go straight to the link.
    m_binding.bind(m_link);
    m_view.onLineLost([this] {
        m_lineLost = true;
        m_rs232c.close();
    });
}

ProgSession::~ProgSession() { m_rs232c.close(); }

bool ProgSession::open(const std::string& port) {
    m_rs232c.portname = port;
    return m_rs232c.open();
}

void ProgSession::discardReceived() {
    using Clock = std::chrono::steady_clock;
    const auto limit = Clock::now() + kQuietLimit;
    auto quietUntil = Clock::now() + kQuiet;
    std::array<uint8_t, 4096> sink;
    // Straight from the port: the receive events for these bytes, handled
    // later, find nothing waiting.
    for (auto now = Clock::now(); now < quietUntil && now < limit && !m_stop.load();
         now = Clock::now()) {
        const int32_t waiting = m_binding.rxcount();
        if (waiting < 0) return;  // closed: the line was lost
        if (waiting == 0) {
            std::this_thread::sleep_for(kPoll);
            continue;
        }
        m_binding.read(sink.data(), std::min(waiting, static_cast<int32_t>(sink.size())));
        quietUntil = Clock::now() + kQuiet;
    }
}

bool ProgSession::CountingPort::writebyte(uint8_t b) {
    const bool ok = m_port.writebyte(b);
    ++m_session.m_sent;
    m_session.m_lastSent = b;
    if (m_session.m_sentNotice) m_session.m_sentNotice(m_session.m_sent);
    return ok;
}

}  // namespace tv
