#pragma once
// A SerialOs that records every call and plays a port from a script: tests set
// what the port holds, which calls fail and how, and inject received bytes and
// line events; the calls made come back as text lines in order.
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "serial/serial_os.h"

namespace tv {

class FakeSerialOs final : public SerialOs {
public:
    enum class Op {
        Open,
        SetupQueues,
        GetLineState,
        SetLineState,
        SetTimeouts,
        SetEventMask,
        WaitEvent,
        ClearError,
        Purge,
        Escape,
        Read,
        Write,
        CreateEvents,
        Close,
        LowLatency
    };

    // --- script ---
    // The next `times` calls of `op` fail with `err`. EINTR stands for an
    // interrupted system call, which is tried again as the real layer does, so
    // the operation then succeeds; EAGAIN on a read or write moves nothing (a
    // time-out); any other error makes the call fail.
    void failNext(Op op, int err, int times = 1);
    // Each read or write moves at most this many bytes (a short transfer); -1: no limit.
    void limitTransfer(int32_t maxBytes);
    // The settings the port holds before the component applies its own.
    void setPortState(const LineState& state);
    // Bytes arriving on the line; EV_RXCHAR is raised when the mask selects it.
    void injectBytes(const std::vector<uint8_t>& bytes);
    // Line events, reported by the next wait as far as the mask selects them.
    void injectEvents(uint32_t events);
    // The line goes away: the next wait reports EV_LINELOST, transfers fail with EIO.
    void hangUp();

    // --- observe ---
    // One line per call, e.g. "open COM1", "purge 0x3", "escape 5",
    // "setLineState BaudRate=9600 ByteSize=8 ...". Event waits and queue counts
    // come from the monitor thread at times of its own and are only counted.
    std::vector<std::string> calls() const;
    void clearCalls();
    int attempts(Op op) const;  // system-call attempts, interrupted ones included
    LineState lineState() const;
    Timeouts timeouts() const;
    uint32_t eventMask() const;
    std::vector<uint8_t> written() const;
    size_t queued() const;
    bool isOpen() const;
    // Low-latency requests made, refused ones included. Kept out of calls():
    // the request is advice, not a step of the port's set-up.
    int lowLatencyRequests() const;
    // Waits until a thread is blocked in waitEvent; false when none came in time.
    bool waitForWaiter(int timeoutMs) const;
    static std::string describe(const LineState& state);

    // --- SerialOs ---
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
    SerialError lastError() const override;

private:
    // Records `line`, then plays one system call of `op` under the script.
    // Returns 0, or the errno it failed with. Called with m_mutex held.
    int enter(Op op, const std::string& line);
    bool failed(int err);
    // Records a transfer and plays its script; false, with the call's result
    // in `result`, when the transfer ends there.
    bool beginTransfer(Op op, const char* verb, int32_t count, int32_t& result);
    int32_t limited(int32_t count) const;  // the short-transfer limit

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::string> m_calls;
    std::map<Op, std::vector<int>> m_failures;
    std::map<Op, int> m_attempts;
    int32_t m_transferLimit = -1;
    bool m_open = false;
    bool m_hungUp = false;
    std::string m_device;
    LineState m_state;
    Timeouts m_timeouts;
    uint32_t m_mask = 0;
    uint32_t m_pending = 0;
    int m_waiters = 0;
    std::vector<uint8_t> m_rx;
    std::vector<uint8_t> m_written;
    SerialError m_lastError;
};

}  // namespace tv
