#include "serial/serial_os_win32.h"

#include <cstddef>
#include <cstring>

#include "ports/win32_port_name.h"

namespace tv {

namespace {

// A failed wait that is neither the mask being cleared nor the device going
// away is retried after this pause, so a driver that fails every wait at once
// cannot make the monitor spin.
constexpr DWORD kRetryPauseMs = 10;
// How long a cancelled monitor wait is given to end.
constexpr DWORD kCancelWaitMs = 200;

// The DCB's flag word as one 32-bit value: the bit fields after BaudRate.
constexpr size_t kFlagOffset = offsetof(DCB, BaudRate) + sizeof(DWORD);

uint32_t flagWord(const DCB& dcb) {
    uint32_t word = 0;
    std::memcpy(&word, reinterpret_cast<const unsigned char*>(&dcb) + kFlagOffset, sizeof word);
    return word;
}

void setFlagWord(DCB& dcb, uint32_t word) {
    std::memcpy(reinterpret_cast<unsigned char*>(&dcb) + kFlagOffset, &word, sizeof word);
}

LineState lineStateOf(const DCB& dcb) {
    LineState s;
    s.BaudRate = dcb.BaudRate;
    s.ByteSize = dcb.ByteSize;
    s.Parity = static_cast<Parity>(dcb.Parity);
    s.StopBits = static_cast<StopBits>(dcb.StopBits);
    s.Flags = flagWord(dcb);
    s.XonLim = dcb.XonLim;
    s.XoffLim = dcb.XoffLim;
    s.XonChar = static_cast<uint8_t>(dcb.XonChar);
    s.XoffChar = static_cast<uint8_t>(dcb.XoffChar);
    s.ErrorChar = static_cast<uint8_t>(dcb.ErrorChar);
    s.EofChar = static_cast<uint8_t>(dcb.EofChar);
    s.EvtChar = static_cast<uint8_t>(dcb.EvtChar);
    return s;
}

void applyLineState(const LineState& s, DCB& dcb) {
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = s.BaudRate;
    dcb.ByteSize = s.ByteSize;
    dcb.Parity = static_cast<BYTE>(s.Parity);
    dcb.StopBits = static_cast<BYTE>(s.StopBits);
    setFlagWord(dcb, s.Flags);
    dcb.XonLim = s.XonLim;
    dcb.XoffLim = s.XoffLim;
    dcb.XonChar = static_cast<char>(s.XonChar);
    dcb.XoffChar = static_cast<char>(s.XoffChar);
    dcb.ErrorChar = static_cast<char>(s.ErrorChar);
    dcb.EofChar = static_cast<char>(s.EofChar);
    dcb.EvtChar = static_cast<char>(s.EvtChar);
}

bool isGone(uint32_t code) {
    return errorFromWin32(code, Win32Stage::InUse).kind == SerialError::Kind::HungUp;
}

}  // namespace

bool RxAnnouncer::announce(uint32_t inQueue) {
    if (inQueue == 0) return false;
    const uint64_t generation = m_generation.load();
    if (generation == m_seenGeneration && inQueue == m_seenQueue) return false;
    m_seenGeneration = generation;
    m_seenQueue = inQueue;
    return true;
}

Win32SerialOs::Win32SerialOs(const Win32Api& api, EnvLookup env)
    : m_api(api), m_env(std::move(env)) {}

Win32SerialOs::~Win32SerialOs() {
    if (isOpen()) {
        closeEvents();
        closePort();
    }
}

bool Win32SerialOs::failWith(uint32_t code, Win32Stage stage) {
    m_lastError = errorFromWin32(code, stage);
    m_lastError.device = m_device;
    return false;
}

bool Win32SerialOs::fail(Win32Stage stage) { return failWith(m_api.GetLastError(), stage); }

void Win32SerialOs::noteGone(uint32_t code) {
    // The monitor may sit in WaitCommEvent on a driver that never completes it
    // for a removed device: wake it so that it reports the loss.
    if (isGone(code) && !m_hungUp.exchange(true)) m_api.SetEvent(m_wake);
}

// Windows has no per-port latency setting to ask for: a USB adapter's latency
// timer is a property of its driver, set in the device manager.
bool Win32SerialOs::requestLowLatency() { return false; }

HANDLE Win32SerialOs::newEvent() { return m_api.CreateEventA(nullptr, TRUE, FALSE, nullptr); }

void Win32SerialOs::closeHandle(HANDLE& handle) {
    if (handle != nullptr) m_api.CloseHandle(handle);
    handle = nullptr;
}

const char* Win32SerialOs::notSerialKind() {
    const DWORD type = m_api.GetFileType(m_port);
    if (type == FILE_TYPE_DISK) return "a regular file";
    if (type == FILE_TYPE_PIPE) return "a named pipe";
    // Every serial driver answers GetCommState; other devices (NUL, CON) do not.
    DCB probe{};
    probe.DCBlength = sizeof(DCB);
    if (!m_api.GetCommState(m_port, &probe)) return "a device that is not a COM port";
    return nullptr;
}

bool Win32SerialOs::openPort(const std::string& name) {
    if (isOpen()) return failWith(ERROR_SHARING_VIOLATION, Win32Stage::Open);
    const auto path = resolveWin32PortName(name, m_env);
    m_device = path.value_or(std::string());  // named in the reason of a failure
    if (!path) return failWith(ERROR_FILE_NOT_FOUND, Win32Stage::Open);
    const HANDLE port =
        m_api.CreateFileA(path->c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) return fail(Win32Stage::Open);
    m_port = port;
    // A file, a pipe or NUL opens as well as a port does; without this the first
    // communications call would fail later with a code that says nothing of why.
    if (const char* what = notSerialKind(); what != nullptr) {
        closePort();
        failWith(ERROR_INVALID_FUNCTION, Win32Stage::Open);
        m_lastError.kind = SerialError::Kind::NotSerial;
        m_lastError.message = what;
        return false;
    }
    m_mask.store(0);
    m_hungUp.store(false);
    m_lossReported = false;
    // The monitor's request event, and the one that ends its wait at close.
    m_wait.event = newEvent();
    m_wake = newEvent();
    if (m_wait.event == nullptr || m_wake == nullptr) {
        const uint32_t code = m_api.GetLastError();
        closePort();
        return failWith(code, Win32Stage::Open);
    }
    m_dcb = DCB{};
    m_dcb.DCBlength = sizeof(DCB);
    m_lastError = {};
    return true;
}

bool Win32SerialOs::setupQueues(int32_t rxSize, int32_t txSize) {
    if (!isOpen()) return failWith(ERROR_INVALID_HANDLE, Win32Stage::InUse);
    if (!m_api.SetupComm(m_port, static_cast<DWORD>(rxSize), static_cast<DWORD>(txSize))) {
        return fail(Win32Stage::InUse);
    }
    return true;
}

bool Win32SerialOs::getLineState(LineState& state) {
    if (!isOpen()) return failWith(ERROR_INVALID_HANDLE, Win32Stage::InUse);
    m_dcb.DCBlength = sizeof(DCB);
    if (!m_api.GetCommState(m_port, &m_dcb)) return fail(Win32Stage::InUse);
    state = lineStateOf(m_dcb);
    return true;
}

bool Win32SerialOs::setLineState(const LineState& state) {
    if (!isOpen()) return failWith(ERROR_INVALID_HANDLE, Win32Stage::InUse);
    // On top of what GetCommState read, so fields the component does not set
    // keep the port's values.
    DCB dcb = m_dcb;
    applyLineState(state, dcb);
    if (!m_api.SetCommState(m_port, &dcb)) return fail(Win32Stage::InUse);
    m_dcb = dcb;
    return true;
}

bool Win32SerialOs::setTimeouts(const Timeouts& t) {
    if (!isOpen()) return failWith(ERROR_INVALID_HANDLE, Win32Stage::InUse);
    COMMTIMEOUTS record{t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier,
                        t.ReadTotalTimeoutConstant, t.WriteTotalTimeoutMultiplier,
                        t.WriteTotalTimeoutConstant};
    if (!m_api.SetCommTimeouts(m_port, &record)) return fail(Win32Stage::InUse);
    return true;
}

bool Win32SerialOs::setEventMask(uint32_t mask) {
    if (!isOpen()) return failWith(ERROR_INVALID_HANDLE, Win32Stage::InUse);
    m_mask.store(mask);
    if (mask != 0) m_api.ResetEvent(m_wake);
    const BOOL ok = m_api.SetCommMask(m_port, mask);
    const uint32_t code = ok ? 0 : m_api.GetLastError();
    // Clearing the mask ends the wait in the driver; the wake event ends it
    // as well where the driver does not (or the device has gone).
    if (mask == 0) m_api.SetEvent(m_wake);
    return ok ? true : failWith(code, Win32Stage::InUse);
}

bool Win32SerialOs::waitEvent(uint32_t& events) {
    events = 0;
    for (;;) {
        if (m_mask.load() == 0) return true;
        if (m_hungUp.load()) {
            if (!m_lossReported) {
                m_lossReported = true;
                events = EV_LINELOST;
                return true;
            }
            // Nothing more will come from the line: sleep until close. A transfer
            // that found the line gone set the wake event to get here; clear it,
            // then look at the mask again so that a close meanwhile is not missed.
            m_api.ResetEvent(m_wake);
            if (m_mask.load() == 0) return true;
            m_api.WaitForSingleObject(m_wake, INFINITE);
            continue;
        }
        m_api.ResetEvent(m_wait.event);
        m_wait.record = OVERLAPPED{};
        m_wait.record.hEvent = m_wait.event;
        DWORD& occurred = m_wait.occurred;
        occurred = 0;
        BOOL ok = m_api.WaitCommEvent(m_port, &occurred, &m_wait.record);
        uint32_t code = ok ? 0 : m_api.GetLastError();
        if (!ok && code == ERROR_IO_PENDING) {
            const HANDLE both[2] = {m_wait.event, m_wake};
            if (m_api.WaitForMultipleObjects(2, both, FALSE, INFINITE) == WAIT_OBJECT_0) {
                DWORD unused = 0;
                ok = m_api.GetOverlappedResult(m_port, &m_wait.record, &unused, FALSE);
                code = ok ? 0 : m_api.GetLastError();
            } else {
                // Woken for close (or a lost line).
                cancelWait();
                occurred = 0;
                ok = TRUE;
            }
        }
        // A cleared mask ends the wait with no events, or with
        // ERROR_OPERATION_ABORTED on some drivers: either way, no events.
        if (m_mask.load() == 0) return true;
        if (!ok) {
            if (isGone(code)) {
                m_hungUp.store(true);
                continue;
            }
            // Wine ends the wait with ERROR_OPERATION_ABORTED, not a loss, when
            // the other side of its terminal hangs up, and at once every time
            // after; only the port's state tells the loss: ask it.
            if (portGone()) continue;
            m_api.WaitForSingleObject(m_wake, kRetryPauseMs);
            return false;
        }
        uint32_t found = occurred & m_mask.load();
        if (found & EV_RXCHAR) {
            DWORD errors = 0;
            COMSTAT status{};
            if (!m_api.ClearCommError(m_port, &errors, &status)) {
                noteGone(m_api.GetLastError());
                found &= ~uint32_t{EV_RXCHAR};
            } else if (!m_rx.announce(status.cbInQue)) {
                found &= ~uint32_t{EV_RXCHAR};
            }
        }
        if (found != 0) {
            events = found;
            return true;
        }
        // Nothing selected to report (an idle completion): wait again.
    }
}

bool Win32SerialOs::portGone() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!m_api.ClearCommError(m_port, &errors, &status)) noteGone(m_api.GetLastError());
    return m_hungUp.load();
}

bool Win32SerialOs::clearError(int32_t& inQueue) {
    // Runs on both threads, so a failure leaves the last error alone.
    if (!isOpen()) return false;
    DWORD errors = 0;
    COMSTAT status{};
    if (!m_api.ClearCommError(m_port, &errors, &status)) {
        noteGone(m_api.GetLastError());
        return false;
    }
    inQueue = static_cast<int32_t>(status.cbInQue);
    return true;
}

bool Win32SerialOs::purge(uint32_t flags) {
    if (!isOpen()) return failWith(ERROR_INVALID_HANDLE, Win32Stage::InUse);
    if (flags & (PURGE_RXABORT | PURGE_RXCLEAR)) m_rx.consumed();
    if (!m_api.PurgeComm(m_port, flags)) return fail(Win32Stage::InUse);
    return true;
}

bool Win32SerialOs::escape(uint32_t function) {
    if (!isOpen()) return failWith(ERROR_INVALID_HANDLE, Win32Stage::InUse);
    if (!m_api.EscapeCommFunction(m_port, function)) return fail(Win32Stage::InUse);
    return true;
}

DWORD Win32SerialOs::cancelAndComplete(Request& request) {
    m_api.CancelIoEx(m_port, &request.record);
    DWORD done = 0;
    m_api.GetOverlappedResult(m_port, &request.record, &done, TRUE);
    return done;
}

// The monitor's request writes only into m_wait, which lives as long as the
// port, so its end is awaited only for a while: a driver that does not cancel a
// wait (Wine, for one issued just after the mask was cleared) must not hold up
// close, whose CloseHandle ends whatever is still pending.
void Win32SerialOs::cancelWait() {
    m_api.CancelIoEx(m_port, &m_wait.record);
    if (m_api.WaitForSingleObject(m_wait.event, kCancelWaitMs) == WAIT_OBJECT_0) {
        DWORD unused = 0;
        m_api.GetOverlappedResult(m_port, &m_wait.record, &unused, FALSE);
    }
}

template <typename Start>
int32_t Win32SerialOs::transfer(Request& request, int32_t waitMs, Start start) {
    if (!isOpen() || request.event == nullptr) {
        failWith(ERROR_INVALID_HANDLE, Win32Stage::InUse);
        return -1;
    }
    if (m_hungUp.load()) {
        failWith(ERROR_DEVICE_REMOVED, Win32Stage::InUse);
        return -1;
    }
    m_api.ResetEvent(request.event);
    request.record = OVERLAPPED{};
    request.record.hEvent = request.event;
    DWORD done = 0;
    if (start(&done, &request.record)) return static_cast<int32_t>(done);
    uint32_t code = m_api.GetLastError();
    if (code == ERROR_IO_PENDING) {
        const DWORD ms = waitMs < 0 ? INFINITE : static_cast<DWORD>(waitMs);
        const DWORD waited = m_api.WaitForSingleObject(request.event, ms);
        if (waited == WAIT_OBJECT_0) {
            if (m_api.GetOverlappedResult(m_port, &request.record, &done, FALSE)) {
                return static_cast<int32_t>(done);
            }
            code = m_api.GetLastError();
        } else {
            // Still running: cancel it and wait for its end, so that the system
            // is done with the buffer before the caller gets it back. It may
            // have finished in between; then its count stands.
            done = cancelAndComplete(request);
            failWith(waited == WAIT_TIMEOUT ? WAIT_TIMEOUT : m_api.GetLastError(),
                     Win32Stage::InUse);
            return waited == WAIT_TIMEOUT ? static_cast<int32_t>(done) : -1;
        }
    }
    noteGone(code);
    failWith(code, Win32Stage::InUse);
    return -1;
}

int32_t Win32SerialOs::read(uint8_t* buffer, int32_t count, int32_t waitMs) {
    if (count < 0) {
        failWith(ERROR_INVALID_PARAMETER, Win32Stage::InUse);
        return -1;
    }
    m_rx.consumed();
    const int32_t got = transfer(m_read, waitMs, [&](DWORD* done, OVERLAPPED* record) {
        return m_api.ReadFile(m_port, buffer, static_cast<DWORD>(count), done, record);
    });
    m_rx.consumed();
    return got;
}

int32_t Win32SerialOs::write(const uint8_t* buffer, int32_t count, int32_t waitMs) {
    if (count < 0) {
        failWith(ERROR_INVALID_PARAMETER, Win32Stage::InUse);
        return -1;
    }
    return transfer(m_write, waitMs, [&](DWORD* done, OVERLAPPED* record) {
        return m_api.WriteFile(m_port, buffer, static_cast<DWORD>(count), done, record);
    });
}

bool Win32SerialOs::createEvents() {
    if (!isOpen()) return failWith(ERROR_INVALID_HANDLE, Win32Stage::InUse);
    for (Request* request : {&m_read, &m_write}) {
        request->event = newEvent();
        if (request->event != nullptr) m_api.ResetEvent(request->event);
        request->record = OVERLAPPED{};
        request->record.hEvent = request->event;
    }
    return m_read.event != nullptr && m_write.event != nullptr;
}

void Win32SerialOs::closeEvents() {
    closeHandle(m_read.event);
    closeHandle(m_write.event);
}

bool Win32SerialOs::closePort() {
    if (!isOpen()) return failWith(ERROR_INVALID_HANDLE, Win32Stage::InUse);
    closeHandle(m_wait.event);
    closeHandle(m_wake);
    const BOOL ok = m_api.CloseHandle(m_port);
    const uint32_t code = ok ? 0 : m_api.GetLastError();
    m_port = INVALID_HANDLE_VALUE;
    m_mask.store(0);
    m_hungUp.store(false);
    return ok ? true : failWith(code, Win32Stage::InUse);
}

}  // namespace tv
