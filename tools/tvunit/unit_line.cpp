#include "unit_line.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tv {

UnitLine::UnitLine(int master, int signals, UnitLog log, long wireBaud)
    : m_master(master), m_signals(signals), m_log(log), m_wire(wireBaud) {
    // A paced line sleeps for every byte it answers, to the microsecond; the
    // kernel's default slack of 50 us per sleep would add to every round trip.
    if (m_wire.paced()) ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
}

bool UnitLine::receive(uint8_t b, int64_t arrivalNs) {
    if (!m_wire.paced()) {
        m_receivedAt = arrivalNs;
        m_log.note("RX", b);
        return true;
    }
    // Nothing the unit does with a byte shows before its answer, which waits
    // for its own time on the wire: so the byte is taken now and logged at the
    // time its last bit arrives, and the unit sleeps once per byte, not twice.
    m_receivedAt = m_wire.received(arrivalNs);
    m_log.noteAt(m_receivedAt, "RX", b);
    return true;
}

void UnitLine::send(uint8_t b, int64_t readyNs) {
    // On a wire the byte reaches the other end only when its last bit has.
    if (m_wire.paced()) waitUntil(m_wire.sent(readyNs));
    if (writeAll(&b, 1)) m_log.note("TX", b);
}

void UnitLine::sendCounting(long count, int64_t readyNs) {
    if (!m_wire.paced()) {
        sendBlocks(count);
        return;
    }
    for (long i = 0; i < count; ++i) {
        if (!waitUntil(m_wire.sent(readyNs))) return;
        const auto b = static_cast<uint8_t>(i);
        if (!writeAll(&b, 1)) return;
        m_log.note("TX", b);
    }
}

// Without a wire the bytes go in blocks, logged a block at a time.
void UnitLine::sendBlocks(long count) {
    uint8_t block[4096];
    for (long done = 0; done < count;) {
        const long n = std::min<long>(count - done, static_cast<long>(sizeof block));
        for (long i = 0; i < n; ++i) block[i] = static_cast<uint8_t>(done + i);
        if (!writeAll(block, n)) return;
        for (long i = 0; i < n; ++i) m_log.noteUnflushed("TX", block[i]);
        m_log.flush();
        done += n;
    }
}

// False when the client stopped reading and the line stayed full for a second.
bool UnitLine::writeAll(const uint8_t* bytes, long count) {
    long sent = 0;
    while (sent < count) {
        const ssize_t w = ::write(m_master, bytes + sent, static_cast<size_t>(count - sent));
        if (w > 0) {
            sent += w;
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        pollfd p{m_master, POLLOUT, 0};
        if (::poll(&p, 1, 1000) <= 0) return false;
    }
    return true;
}

bool UnitLine::pause(int ms) {
    pollfd p{m_signals, POLLIN, 0};
    return ::poll(&p, 1, ms) == 0;
}

bool UnitLine::waitUntil(int64_t deadlineNs) {
    for (;;) {
        const int64_t left = deadlineNs - monotonicNs();
        if (left <= 0) return true;
        const timespec wait{static_cast<time_t>(left / 1000000000LL),
                            static_cast<long>(left % 1000000000LL)};
        pollfd p{m_signals, POLLIN, 0};
        const int n = ::ppoll(&p, 1, &wait, nullptr);
        if (n > 0) return false;
        if (n < 0 && errno != EINTR) return true;
    }
}

}  // namespace tv
