#include "tools/tvprog/prog_session.h"

#include "serial/unit_line.h"

namespace tv {

ProgSession::ProgSession(const std::atomic<bool>& stopRequested, std::ostream& notes)
    : m_rs232c(m_queue.factory()),
      m_waiter(m_queue, stopRequested),
      m_view(notes),
      m_link(m_port, m_waiter, m_view) {
    applyUnitLineSettings(m_rs232c);
    // The window's bindings: received bytes to the link, modem lines with the port.
    m_rs232c.OnRXCHAR = [this](Trs232c&) { m_link.onRxChar(); };
    m_rs232c.OnPACKET = [this](Trs232c&) { m_link.onPacket(); };
    m_rs232c.OnOpen = [this](Trs232c&) { m_link.onOpen(); };
    m_rs232c.OnClose = [this](Trs232c&) { m_link.onClose(); };
}

ProgSession::~ProgSession() { m_rs232c.close(); }

bool ProgSession::open(const std::string& port) {
    m_rs232c.portname = port;
    return m_rs232c.open();
}

bool ProgSession::CountingPort::writebyte(uint8_t b) {
    const bool ok = m_session.m_rs232c.writebyte(b);
    ++m_session.m_sent;
    m_session.m_lastSent = b;
    if (m_session.m_sentNotice) m_session.m_sentNotice(m_session.m_sent);
    return ok;
}

}  // namespace tv
