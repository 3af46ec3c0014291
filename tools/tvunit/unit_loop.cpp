#include "unit_loop.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace tv {

UnitLoop::UnitLoop(const UnitOptions& options, int master, int signals, UnitLog log)
    : m_master(master),
      m_signals(signals),
      m_line(master, signals, log, options.wireBaud),
      m_protocol(options.corruptByte),
      m_faults(options) {}

int UnitLoop::run() {
    for (;;) {
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_signals, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            std::perror("tvunit: poll");
            return 1;
        }
        if (fds[1].revents & POLLIN) return 0;
        if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        uint8_t buf[256];
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0) {
            // A slave descriptor is held open, so this is transient; don't spin.
            if (!m_line.pause(10)) return 0;
            continue;
        }
        const int64_t arrival = monotonicNs();
        for (ssize_t i = 0; i < n; ++i) {
            if (!serve(buf[i], arrival)) return 0;
        }
    }
}

bool UnitLoop::serve(uint8_t b, int64_t arrivalNs) {
    if (!m_line.receive(b, arrivalNs)) return false;
    ++m_received;
    const std::vector<uint8_t> reply = m_protocol.receive(b);
    if (m_faults.answers(m_received) && !answer(reply)) return false;
    if (m_faults.hangsUpAfter(m_received)) {
        // A hang-up throws away what the client has not read yet: give the
        // last answer a moment to be read before the master closes.
        m_line.pause(kLingerMs);
        return false;
    }
    return true;
}

bool UnitLoop::answer(const std::vector<uint8_t>& reply) {
    // The answer is ready when its byte was received, or --delay after that.
    int64_t ready = m_line.receivedAt();
    if (m_faults.delayMs() > 0) {
        ready += int64_t{m_faults.delayMs()} * 1000000;
        if (!m_line.waitUntil(ready)) return false;
    }
    for (int i = 0; i < m_faults.echoes(); ++i) m_line.send(reply.front(), ready);
    for (size_t i = 1; i < reply.size(); ++i) m_line.send(reply[i], ready);
    m_line.sendCounting(m_faults.floodNow(), ready);
    return true;
}

}  // namespace tv
