#include "tests/support/serial_os_fake.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "os/hex_text.h"
#include "serial/posix_call.h"

namespace tv {

std::string FakeSerialOs::describe(const LineState& s) {
    return "BaudRate=" + std::to_string(s.BaudRate) + " ByteSize=" + std::to_string(s.ByteSize) +
           " Parity=" + std::to_string(static_cast<int>(s.Parity)) +
           " StopBits=" + std::to_string(static_cast<int>(s.StopBits)) +
           " Flags=" + hexLiteral(s.Flags) + " XonLim=" + std::to_string(s.XonLim) +
           " XoffLim=" + std::to_string(s.XoffLim) + " XonChar=" + hexLiteral(s.XonChar) +
           " XoffChar=" + hexLiteral(s.XoffChar) + " ErrorChar=" + hexLiteral(s.ErrorChar) +
           " EofChar=" + hexLiteral(s.EofChar) + " EvtChar=" + hexLiteral(s.EvtChar);
}

void FakeSerialOs::failNext(Op op, int err, int times) {
    std::lock_guard lock(m_mutex);
    auto& queue = m_failures[op];
    queue.insert(queue.end(), static_cast<size_t>(times), err);
}

void FakeSerialOs::limitTransfer(int32_t maxBytes) {
    std::lock_guard lock(m_mutex);
    m_transferLimit = maxBytes;
}

void FakeSerialOs::setPortState(const LineState& state) {
    std::lock_guard lock(m_mutex);
    m_state = state;
}

void FakeSerialOs::injectBytes(const std::vector<uint8_t>& bytes) {
    std::lock_guard lock(m_mutex);
    m_rx.insert(m_rx.end(), bytes.begin(), bytes.end());
    if (m_mask & EV_RXCHAR) m_pending |= EV_RXCHAR;
    m_changed.notify_all();
}

void FakeSerialOs::injectEvents(uint32_t events) {
    std::lock_guard lock(m_mutex);
    m_pending |= events;
    m_changed.notify_all();
}

void FakeSerialOs::hangUp() {
    std::lock_guard lock(m_mutex);
    m_hungUp = true;
    m_pending |= EV_LINELOST;
    m_changed.notify_all();
}

int FakeSerialOs::lowLatencyRequests() const { return attempts(Op::LowLatency); }

std::vector<std::string> FakeSerialOs::calls() const {
    std::lock_guard lock(m_mutex);
    return m_calls;
}

void FakeSerialOs::clearCalls() {
    std::lock_guard lock(m_mutex);
    m_calls.clear();
}

int FakeSerialOs::attempts(Op op) const {
    std::lock_guard lock(m_mutex);
    auto it = m_attempts.find(op);
    return it == m_attempts.end() ? 0 : it->second;
}

LineState FakeSerialOs::lineState() const {
    std::lock_guard lock(m_mutex);
    return m_state;
}

Timeouts FakeSerialOs::timeouts() const {
    std::lock_guard lock(m_mutex);
    return m_timeouts;
}

uint32_t FakeSerialOs::eventMask() const {
    std::lock_guard lock(m_mutex);
    return m_mask;
}

std::vector<uint8_t> FakeSerialOs::written() const {
    std::lock_guard lock(m_mutex);
    return m_written;
}

size_t FakeSerialOs::queued() const {
    std::lock_guard lock(m_mutex);
    return m_rx.size();
}

bool FakeSerialOs::isOpen() const {
    std::lock_guard lock(m_mutex);
    return m_open;
}

bool FakeSerialOs::waitForWaiter(int timeoutMs) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_waiters > 0; });
}

SerialError FakeSerialOs::lastError() const {
    std::lock_guard lock(m_mutex);
    return m_lastError;
}

int FakeSerialOs::enter(Op op, const std::string& line) {
    if (!line.empty()) m_calls.push_back(line);
    // The same retry rule as the real layer, applied to the scripted call.
    const int result = retryOnEintr([&] {
        ++m_attempts[op];
        auto& queue = m_failures[op];
        if (queue.empty()) return 0;
        errno = queue.front();
        queue.erase(queue.begin());
        return -1;
    });
    return result == 0 ? 0 : errno;
}

bool FakeSerialOs::failed(int err) {
    m_lastError = errorFromErrno(err);
    m_lastError.device = m_device;
    return false;
}

bool FakeSerialOs::openPort(const std::string& name) {
    std::lock_guard lock(m_mutex);
    if (!m_open) m_device = name;  // a name stands for the device of that name
    if (int err = enter(Op::Open, "open " + name)) return failed(err);
    if (m_open) return failed(EBUSY);
    if (name.empty()) return failed(ENOENT);
    m_open = true;
    m_hungUp = false;
    return true;
}

bool FakeSerialOs::setupQueues(int32_t rxSize, int32_t txSize) {
    std::lock_guard lock(m_mutex);
    const std::string line = "setupQueues " + std::to_string(rxSize) + " " + std::to_string(txSize);
    if (int err = enter(Op::SetupQueues, line)) return failed(err);
    return m_open || failed(EBADF);
}

bool FakeSerialOs::getLineState(LineState& state) {
    std::lock_guard lock(m_mutex);
    if (int err = enter(Op::GetLineState, "getLineState")) return failed(err);
    if (!m_open) return failed(EBADF);
    state = m_state;
    return true;
}

bool FakeSerialOs::setLineState(const LineState& state) {
    std::lock_guard lock(m_mutex);
    if (int err = enter(Op::SetLineState, "setLineState " + describe(state))) return failed(err);
    if (!m_open) return failed(EBADF);
    m_state = state;
    return true;
}

bool FakeSerialOs::setTimeouts(const Timeouts& t) {
    std::lock_guard lock(m_mutex);
    const std::string line = "setTimeouts " + std::to_string(t.ReadIntervalTimeout) + " " +
                             std::to_string(t.ReadTotalTimeoutMultiplier) + " " +
                             std::to_string(t.ReadTotalTimeoutConstant) + " " +
                             std::to_string(t.WriteTotalTimeoutMultiplier) + " " +
                             std::to_string(t.WriteTotalTimeoutConstant);
    if (int err = enter(Op::SetTimeouts, line)) return failed(err);
    if (!m_open) return failed(EBADF);
    m_timeouts = t;
    return true;
}

bool FakeSerialOs::requestLowLatency() {
    std::lock_guard lock(m_mutex);
    if (int err = enter(Op::LowLatency, "")) return failed(err);
    return m_open || failed(EBADF);
}

bool FakeSerialOs::setEventMask(uint32_t mask) {
    std::lock_guard lock(m_mutex);
    if (int err = enter(Op::SetEventMask, "setEventMask " + hexLiteral(mask))) return failed(err);
    if (!m_open) return failed(EBADF);
    m_mask = mask;
    m_changed.notify_all();
    return true;
}

bool FakeSerialOs::waitEvent(uint32_t& events) {
    std::unique_lock lock(m_mutex);
    if (enter(Op::WaitEvent, "") != 0) return false;
    ++m_waiters;
    m_changed.notify_all();
    const auto reported = [&] { return m_mask == 0 ? 0u : m_pending & (m_mask | EV_LINELOST); };
    m_changed.wait(lock, [&] { return m_mask == 0 || reported() != 0; });
    --m_waiters;
    events = reported();
    m_pending &= ~events;
    return true;
}

bool FakeSerialOs::clearError(int32_t& inQueue) {
    std::lock_guard lock(m_mutex);
    if (enter(Op::ClearError, "") != 0 || !m_open) return false;
    inQueue = static_cast<int32_t>(m_rx.size());
    return true;
}

bool FakeSerialOs::purge(uint32_t flags) {
    std::lock_guard lock(m_mutex);
    if (int err = enter(Op::Purge, "purge " + hexLiteral(flags))) return failed(err);
    if (!m_open) return failed(EBADF);
    if (flags & PURGE_RXCLEAR) m_rx.clear();
    return true;
}

bool FakeSerialOs::escape(uint32_t function) {
    std::lock_guard lock(m_mutex);
    if (int err = enter(Op::Escape, "escape " + std::to_string(function))) return failed(err);
    return m_open || failed(EBADF);
}

bool FakeSerialOs::beginTransfer(Op op, const char* verb, int32_t count, int32_t& result) {
    if (int err = enter(op, verb + std::to_string(count))) {
        // EAGAIN stands for a time-out with nothing moved.
        result = err == EAGAIN ? 0 : -1;
        if (err != EAGAIN) failed(err);
        return false;
    }
    if (!m_open || count < 0 || m_hungUp) {
        failed(!m_open ? EBADF : (m_hungUp ? EIO : EINVAL));
        result = -1;
        return false;
    }
    return true;
}

int32_t FakeSerialOs::limited(int32_t count) const {
    return m_transferLimit >= 0 ? std::min(count, m_transferLimit) : count;
}

int32_t FakeSerialOs::read(uint8_t* buffer, int32_t count, int32_t waitMs) {
    std::unique_lock lock(m_mutex);
    int32_t ended = 0;
    if (!beginTransfer(Op::Read, "read ", count, ended)) return ended;
    const auto enough = [&] { return m_rx.size() >= static_cast<size_t>(count); };
    if (waitMs < 0) {
        m_changed.wait(lock, enough);
    } else {
        m_changed.wait_for(lock, std::chrono::milliseconds(waitMs), enough);
    }
    const int32_t n = limited(std::min<int32_t>(count, static_cast<int32_t>(m_rx.size())));
    std::copy_n(m_rx.begin(), n, buffer);
    m_rx.erase(m_rx.begin(), m_rx.begin() + n);
    return n;
}

int32_t FakeSerialOs::write(const uint8_t* buffer, int32_t count, int32_t) {
    std::lock_guard lock(m_mutex);
    int32_t ended = 0;
    if (!beginTransfer(Op::Write, "write ", count, ended)) return ended;
    const int32_t n = limited(count);
    m_written.insert(m_written.end(), buffer, buffer + n);
    return n;
}

bool FakeSerialOs::createEvents() {
    std::lock_guard lock(m_mutex);
    if (int err = enter(Op::CreateEvents, "createEvents")) return failed(err);
    return true;
}

void FakeSerialOs::closeEvents() {
    std::lock_guard lock(m_mutex);
    m_calls.push_back("closeEvents");
}

bool FakeSerialOs::closePort() {
    std::lock_guard lock(m_mutex);
    if (int err = enter(Op::Close, "close")) return failed(err);
    if (!m_open) return failed(EBADF);
    m_open = false;
    m_mask = 0;
    m_changed.notify_all();
    return true;
}

}  // namespace tv
