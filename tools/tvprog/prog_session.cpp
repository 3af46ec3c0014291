#include "tools/tvprog/prog_session.h"

namespace tv {

ProgSession::ProgSession(const std::atomic<bool>& stopRequested, std::ostream& notes)
    : m_rs232c(m_queue.factory()),
      m_waiter(m_queue, stopRequested),
      m_view(notes),
      m_link(m_port, m_waiter, m_view) {
    // As in the window: the component's events go straight to the link.
    m_binding.bind(m_link);
    m_view.onLineLost([this] { m_rs232c.close(); });
}

ProgSession::~ProgSession() { m_rs232c.close(); }

bool ProgSession::open(const std::string& port) {
    m_rs232c.portname = port;
    return m_rs232c.open();
}

bool ProgSession::CountingPort::writebyte(uint8_t b) {
    const bool ok = m_port.writebyte(b);
    ++m_session.m_sent;
    m_session.m_lastSent = b;
    if (m_session.m_sentNotice) m_session.m_sentNotice(m_session.m_sent);
    return ok;
}

}  // namespace tv
