#include "tools/tvprog/prog_session.h"

#include <algorithm>
#include <array>

namespace tv {

namespace {
using Clock = std::chrono::steady_clock;
// Bits of a character on the line: start, 8 data, stop.
constexpr int kBitsPerCharacter = 10;
// Within a transmission the unit's bytes follow one another a character time
// apart; a line silent for this many character times beyond the unit's own
// reply delay has nothing more on its way (8.3 ms at 9600 bit/s).
constexpr int kQuietCharacters = 8;
// A unit that never stops sending does not hold the command longer than this.
constexpr std::chrono::milliseconds kQuietLimit{2000};
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

Clock::duration ProgSession::quietTime() const {
    const auto character =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
            static_cast<double>(kBitsPerCharacter) / std::max(m_rs232c.bps, 1)));
    return kQuietCharacters * character + m_longestReply;
}

bool ProgSession::readAwayUntilQuiet() {
    const auto limit = Clock::now() + kQuietLimit;
    auto quietUntil = Clock::now() + quietTime();
    std::array<uint8_t, 4096> sink;
    // Straight from the port: what is waiting now. What comes later arrives as
    // receive events, which the link stores (every command starts its buffer
    // and its reply flag afresh): the wait wakes with the byte, not a poll later.
    for (int32_t waiting; (waiting = m_binding.rxcount()) > 0;) {
        m_binding.read(sink.data(), std::min(waiting, static_cast<int32_t>(sink.size())));
    }
    int32_t seen = m_link.BufferPos;
    while (!m_lineLost) {
        const auto until = std::min(quietUntil, limit);
        if (m_waiter.waitForEvents(until) == EventWaiter::Outcome::ShuttingDown) return false;
        const auto now = Clock::now();
        if (m_link.BufferPos != seen) {
            seen = m_link.BufferPos;
            quietUntil = now + quietTime();
        }
        if (now >= until) break;
    }
    return !m_stop.load();
}

bool ProgSession::CountingPort::read(uint8_t* buffer, int32_t count) {
    const bool ok = m_port.read(buffer, count);
    if (ok && count > 0 && m_session.m_replyAwaited) {
        m_session.m_replyAwaited = false;
        m_session.m_longestReply =
            std::max(m_session.m_longestReply, Clock::now() - m_session.m_sentAt);
    }
    return ok;
}

bool ProgSession::CountingPort::writebyte(uint8_t b) {
    m_session.m_sentAt = Clock::now();
    m_session.m_replyAwaited = true;
    const bool ok = m_port.writebyte(b);
    ++m_session.m_sent;
    m_session.m_lastSent = b;
    if (m_session.m_sentNotice) m_session.m_sentNotice(m_session.m_sent);
    return ok;
}

}  // namespace tv
