#include "serial/rs232c.h"

#include <iostream>
#include <stdexcept>

#include "serial/comthd.h"
#include "serial/line_words.h"
#include "serial/open_failure.h"

namespace tv {

namespace {

// One row per posted message, in the order postevents posts them: the message,
// the event bit that raises it, and its handler. The same rows give the bits
// that bound handlers add to the event mask at open.
struct EventRow {
    uint32_t message;
    uint32_t bit;
    TNotifyEvent Trs232c::*event;
};

constexpr EventRow kRows[] = {
    {WM_RS_BREAK, EV_BREAK, &Trs232c::OnBREAK},
    {WM_RS_CTS, EV_CTS, &Trs232c::OnCTS},
    {WM_RS_DSR, EV_DSR, &Trs232c::OnDSR},
    {WM_RS_ERR, EV_ERR, &Trs232c::OnERR},
    {WM_RS_RING, EV_RING, &Trs232c::OnRING},
    {WM_RS_RLSD, EV_RLSD, &Trs232c::OnRLSD},
    {WM_RS_PACKET, EV_RXCHAR, &Trs232c::OnPACKET},
    {WM_RS_RXCHAR, EV_RXCHAR, &Trs232c::OnRXCHAR},
    {WM_RS_RXFLAG, EV_RXFLAG, &Trs232c::OnRXFLAG},
    {WM_RS_TXEMPTY, EV_TXEMPTY, &Trs232c::OnTXEMPTY},
    {WM_RS_LINELOST, EV_LINELOST, &Trs232c::OnLINELOST},
};

}  // namespace

Trs232c::Trs232c(std::unique_ptr<SerialOs> os, UiPosterFactory makePoster) : m_os(std::move(os)) {
    m_poster = makePoster([this](uint32_t message) {
        TMessage record;
        record.Msg = message;
        wndproc(record);
    });
    // OnCreate is never called: handlers are bound only once the component
    // exists, just as for a component restored with its form.
}

Trs232c::Trs232c(UiPosterFactory makePoster)
    : Trs232c(makePlatformSerialOs(), std::move(makePoster)) {}

Trs232c::~Trs232c() {
    try {
        close();
    } catch (const std::exception& error) {
        report(error);  // from OnClose; a destructor must not throw
    } catch (...) {
        report(std::runtime_error("The close handler failed."));
    }
    // Messages still queued for this component are dropped with the poster.
    m_poster.reset();
}

void Trs232c::say(const char* message) const {
    if (debug && showMessage) showMessage(message);
}

void Trs232c::report(const std::exception& error) const {
    if (exceptionReport) {
        exceptionReport(error);
    } else {
        std::cerr << "tvconfig: " << error.what() << '\n';
    }
}

uint32_t Trs232c::eventMaskFromBindings() const {
    uint32_t mask = 0;
    for (const EventRow& row : kRows) {
        if ((this->*row.event).bound()) mask |= row.bit;
    }
    return mask & ~EV_LINELOST;  // reported whatever the mask
}

bool Trs232c::failOpen(const char* message) {
    m_openError = m_os->lastError();
    say(message);
    m_os->purge(PURGE_TXABORT | PURGE_RXABORT);
    // Release the device: it was opened exclusively, and holding it would shut
    // out every later open, this component's own included.
    m_os->closePort();
    return false;
}

bool Trs232c::open() {
    if (m_open) return false;
    if (!m_os->openPort(portname)) {
        m_openError = m_os->lastError();
        say("回線オープンエラー");
        return false;
    }
    m_openError = {};
    if (!m_os->setupQueues(rxbuffsize, txbuffsize)) return failOpen("バッファサイズ設定エラー");

    m_os->getLineState(m_dcb);  // the port's present settings are the base
    m_dcb.BaudRate = static_cast<uint32_t>(bps);
    if (const auto stop = stopBitsFromText(stopbit)) m_dcb.StopBits = *stop;
    if (const auto parity = parityFromWord(paritymode)) m_dcb.Parity = *parity;
    m_dcb.ByteSize = static_cast<uint8_t>(charbit & 0xFF);
    m_dcb.Flags = static_cast<uint32_t>(flowflag);
    if (XonLim != 0) m_dcb.XonLim = static_cast<uint16_t>(XonLim & 0xFFFF);
    if (XoffLim != 0) m_dcb.XoffLim = static_cast<uint16_t>(XoffLim & 0xFFFF);
    if (XonChar != 0) m_dcb.XonChar = XonChar;
    if (XoffChar != 0) m_dcb.XoffChar = XoffChar;
    if (ErrorChar != 0) m_dcb.ErrorChar = ErrorChar;
    if (EofChar != 0) m_dcb.EofChar = EofChar;
    if (EvtChar != 0) m_dcb.EvtChar = EvtChar;
    if (!m_os->setLineState(m_dcb)) return failOpen("通信条件設定エラー");

    m_timeouts.ReadIntervalTimeout = static_cast<uint32_t>(readinterval);
    m_timeouts.ReadTotalTimeoutMultiplier = 0;
    m_timeouts.ReadTotalTimeoutConstant = static_cast<uint32_t>(rxtimeout);
    m_timeouts.WriteTotalTimeoutMultiplier = 0;
    m_timeouts.WriteTotalTimeoutConstant = static_cast<uint32_t>(txtimeout);
    if (!m_os->setTimeouts(m_timeouts)) return failOpen("タイムアウト時間設定エラー");
    // Replies then come without the batching delay of USB adapters; ports that
    // have no such setting (pseudo-terminals) refuse, which changes nothing.
    m_os->requestLowLatency();

    m_eventMask = eventMaskFromBindings();
    m_os->setEventMask(m_eventMask);
    // Whatever the port received or held before is discarded.
    m_os->purge(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);

    m_monitorFlag = m_eventMask != 0;
    if (m_monitorFlag) {
        m_queueCount = 0;
        m_monitor = std::make_unique<tcommthread>(*this, *m_os);
    }
    m_os->createEvents();
    if (m_monitorFlag) m_monitor->resume();
    m_open = true;
    if (OnOpen.bound()) OnOpen(*this);
    return true;
}

bool Trs232c::close() {
    if (!m_open) return false;
    m_os->purge(PURGE_TXABORT | PURGE_RXABORT);
    if (m_monitorFlag) {
        // The stop request comes first, so the thread ends after the wait that
        // clearing the mask ends now; that wake-up reports no event.
        m_monitor->terminate();
        m_os->setEventMask(0);
        m_monitor->waitFor();
        m_monitor.reset();
        m_monitorFlag = false;
    }
    // The port is still usable here: the handler can drop DTR and RTS.
    try {
        if (OnClose.bound()) OnClose(*this);
    } catch (...) {
        finishClose();
        throw;
    }
    return finishClose();
}

bool Trs232c::finishClose() {
    m_open = false;
    m_os->closeEvents();
    return m_os->closePort();
}

bool Trs232c::read(uint8_t* buffer, int32_t count) {
    if (!m_open || count < 0) return false;
    return m_os->read(buffer, count, rxtimeout) == count;
}

bool Trs232c::write(const uint8_t* buffer, int32_t count) {
    if (!m_open || count < 0) return false;
    m_txCopy.assign(buffer, buffer + count);
    return m_os->write(m_txCopy.data(), count, txtimeout) == count;
}

bool Trs232c::readbyte(uint8_t& b) {
    if (!read(m_byteCell, 1)) return false;
    b = m_byteCell[0];
    return true;
}

bool Trs232c::writebyte(uint8_t b) {
    m_byteCell[0] = b;
    return write(m_byteCell, 1);
}

std::string Trs232c::openFailureReason(OpenRetry retry) const {
    return tv::openFailureReason(portname, m_openError, retry);
}

int32_t Trs232c::rxcount() {
    if (!m_open) return -1;
    int32_t queued = 0;
    m_os->clearError(queued);
    return queued;
}

bool Trs232c::setrts(bool on) { return m_open && m_os->escape(on ? SETRTS : CLRRTS); }

bool Trs232c::setdtr(bool on) { return m_open && m_os->escape(on ? SETDTR : CLRDTR); }

void Trs232c::postevents() {
    const uint32_t events = m_monitor->eventWord();
    for (const EventRow& row : kRows) {
        if (!(events & row.bit)) continue;
        const TNotifyEvent& event = this->*row.event;
        if (row.message == WM_RS_PACKET) {
            // The queue count is read once per receive event, before the
            // packet row, and kept for the next one.
            int32_t queued = 0;
            m_os->clearError(queued);
            m_queueCount = queued;
            const int32_t size = packetsize.load();
            if (!event.bound() || size == 0 || size > m_queueCount) continue;
            m_queueCount = 0;
        } else if (!event.bound()) {
            continue;
        }
        m_poster->post(row.message);
    }
}

void Trs232c::callLater(std::function<void()> call) {
    m_later.push_back(std::move(call));
    m_poster->post(WM_RS_LATER);
}

void Trs232c::wndproc(TMessage& message) {
    try {
        if (message.Msg == WM_RS_LATER) {
            if (m_later.empty()) return;
            const std::function<void()> call = std::move(m_later.front());
            m_later.pop_front();
            call();
            return;
        }
        for (const EventRow& row : kRows) {
            if (row.message != message.Msg) continue;
            const TNotifyEvent& event = this->*row.event;
            if (event.bound()) event(*this);
            return;
        }
        message.Result = 0;  // nothing else is sent to this procedure
    } catch (const std::exception& error) {
        report(error);
    } catch (...) {
        report(std::runtime_error("An event handler failed with an unknown error."));
    }
}

}  // namespace tv
