#pragma once
// SerialOs on the Win32 communications functions: an overlapped port handle,
// one request record and event per direction for bounded transfers, and one of
// the monitor's own for the event wait. Every call goes through a Win32Api
// table, the system's on Windows, a recorded one in tests.
#include <atomic>
#include <cstdint>
#include <string>

#include "ports/port_name.h"
#include "serial/serial_os.h"
#include "serial/win32_api.h"
#include "serial/win32_error.h"

namespace tv {

// Decides whether an EV_RXCHAR wake-up announces bytes. Some drivers (Wine's
// among them) report EV_RXCHAR again and again while a byte sits unread, so the
// monitor goes by the input-queue count instead: a wake-up announces only when
// bytes are queued and the queue changed, or a read or purge ran, since the
// last announcement. New bytes always do one or the other, so none is missed.
class RxAnnouncer {
public:
    // UI thread: at the start and at the end of every read, and at a purge.
    void consumed() { m_generation.fetch_add(1); }
    // Monitor thread: the queue count just read.
    bool announce(uint32_t inQueue);

private:
    std::atomic<uint64_t> m_generation{0};
    uint64_t m_seenGeneration = ~uint64_t{0};
    uint32_t m_seenQueue = 0;
};

class Win32SerialOs final : public SerialOs {
public:
    Win32SerialOs(const Win32Api& api, EnvLookup env = processEnvironment());
    ~Win32SerialOs() override;
    Win32SerialOs(const Win32SerialOs&) = delete;
    Win32SerialOs& operator=(const Win32SerialOs&) = delete;

    bool openPort(const std::string& name) override;
    bool setupQueues(int32_t rxSize, int32_t txSize) override;
    bool getLineState(LineState& state) override;
    bool setLineState(const LineState& state) override;
    bool setTimeouts(const Timeouts& timeouts) override;
    bool setEventMask(uint32_t mask) override;
    bool requestLowLatency() override;
    bool waitEvent(uint32_t& events) override;
    bool clearError(int32_t& inQueue) override;
    bool purge(uint32_t flags) override;
    bool escape(uint32_t function) override;
    int32_t read(uint8_t* buffer, int32_t count, int32_t waitMs) override;
    int32_t write(const uint8_t* buffer, int32_t count, int32_t waitMs) override;
    bool createEvents() override;
    void closeEvents() override;
    bool closePort() override;
    SerialError lastError() const override { return m_lastError; }

private:
    struct Request {
        OVERLAPPED record{};
        HANDLE event = nullptr;
        DWORD occurred = 0;  // the events a WaitCommEvent request reports
    };

    bool isOpen() const { return m_port != INVALID_HANDLE_VALUE; }
    // Records GetLastError (or `code`) as the last error; false.
    bool fail(Win32Stage stage);
    bool failWith(uint32_t code, Win32Stage stage);
    // What the handle just opened is when it is no serial port ("a regular
    // file"); nullptr for a port.
    const char* notSerialKind();
    // Marks the line hung up when `code` says the device has gone.
    void noteGone(uint32_t code);
    // Asks the port's state (ClearCommError) whether the line has gone; true
    // when it has, which marks it hung up.
    bool portGone();
    // Runs one overlapped transfer that `start` begins on `request`, waiting up
    // to `waitMs` for it; a transfer still running then is cancelled and
    // completed before this returns.
    template <typename Start>
    int32_t transfer(Request& request, int32_t waitMs, Start start);
    // Ends a started request: cancelled, then waited for, so the system is done
    // with the caller's buffer. The bytes it moved.
    DWORD cancelAndComplete(Request& request);
    void cancelWait();
    HANDLE newEvent();
    void closeHandle(HANDLE& handle);

    const Win32Api& m_api;
    EnvLookup m_env;
    std::string m_device;  // what the last open asked CreateFileA for
    HANDLE m_port = INVALID_HANDLE_VALUE;
    DCB m_dcb{};
    Request m_read;
    Request m_write;
    Request m_wait;           // the monitor's own, for WaitCommEvent
    HANDLE m_wake = nullptr;  // set when the event mask is cleared: ends the wait
    std::atomic<uint32_t> m_mask{0};
    std::atomic<bool> m_hungUp{false};
    bool m_lossReported = false;  // the monitor thread's own
    RxAnnouncer m_rx;
    SerialError m_lastError;
};

}  // namespace tv
