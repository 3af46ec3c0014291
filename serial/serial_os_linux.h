#pragma once
// SerialOs on a Linux terminal device: termios for the line, poll for bounded
// transfers, epoll plus an eventfd for the event wait, and the serial driver's
// own flags (linux/serial.h) for low latency.
#include <atomic>
#include <chrono>
#include <memory>

#include "ports/port_name.h"
#include "serial/serial_os.h"

namespace tv {

class ModemWatch;

class LinuxSerialOs final : public SerialOs {
public:
    explicit LinuxSerialOs(EnvLookup env = processEnvironment());
    ~LinuxSerialOs() override;
    LinuxSerialOs(const LinuxSerialOs&) = delete;
    LinuxSerialOs& operator=(const LinuxSerialOs&) = delete;

    bool openPort(const std::string& name) override;
    bool setupQueues(int32_t rxSize, int32_t txSize) override;
    bool getLineState(LineState& state) override;
    bool setLineState(const LineState& state) override;
    bool setTimeouts(const Timeouts& timeouts) override;
    bool requestLowLatency() override;
    bool setEventMask(uint32_t mask) override;
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
    bool fail(int err);
    bool failOpen(int err);
    // The open file is no terminal: fails the open saying what it is.
    bool failNotSerial();
    int32_t failTransfer(int err);
    void markHungUp();
    // The eventfds and the epoll set the event wait sleeps on. False with
    // errno set when the system has none to give.
    bool createWaitSet();
    void releaseDescriptors();
    void watchPort();
    // The errno that stops a transfer before it starts, or 0.
    int transferBlocked(int32_t count) const;
    // Waits until the port is ready for `events` (POLLIN or POLLOUT) or `until`
    // passes: 1 ready, 0 time-out, -1 failure with errno set (EIO: hung up).
    int waitReady(short events, bool bounded, std::chrono::steady_clock::time_point until);

    EnvLookup m_env;
    std::string m_device;  // the path of the port last opened or tried
    int m_fd = -1;
    int m_wakeFd = -1;   // eventfd: readable once the event mask has been cleared
    int m_modemFd = -1;  // eventfd: readable when the modem watch saw a line change
    int m_epollFd = -1;
    std::atomic<uint32_t> m_mask{0};
    std::atomic<bool> m_hungUp{false};
    bool m_lossReported = false;  // set on the waiting thread only, reset by openPort
    bool m_portWatched = false;   // set by openPort before the waiting thread starts, then by it
    LineState m_state;
    Timeouts m_timeouts;
    std::unique_ptr<ModemWatch> m_modem;
    SerialError m_lastError;
};

}  // namespace tv
