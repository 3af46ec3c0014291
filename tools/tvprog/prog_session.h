#pragma once
// One open line to the unit: the serial component with the window's line
// settings, its posted events run by a PostQueue, and the window's device link
// on top, showing on the console.
#include <atomic>
#include <chrono>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "device/device_link.h"
#include "device/serial_port_binding.h"
#include "serial/post_queue.h"
#include "serial/rs232c.h"
#include "tools/tvprog/console_view.h"
#include "tools/tvprog/queue_event_waiter.h"

namespace tv {

class ProgSession {
public:
    // Called after every byte sent, with the count sent so far.
    using SentNotice = std::function<void(int32_t sent)>;

    ProgSession(const std::atomic<bool>& stopRequested, std::ostream& notes);
    ~ProgSession();  // closes the port, dropping DTR and RTS
    ProgSession(const ProgSession&) = delete;
    ProgSession& operator=(const ProgSession&) = delete;

    // Opens `port` (a path or comN); false with the reason in openFailureReason().
    bool open(const std::string& port);
    std::string openFailureReason() const {
        return m_rs232c.openFailureReason(OpenRetry::RunAgain);
    }

    DeviceLink& link() { return m_link; }
    const DeviceLink& link() const { return m_link; }
    QueueEventWaiter& waiter() { return m_waiter; }
    ConsoleView& view() { return m_view; }

    // Reads away what the unit is still sending (a late answer to an earlier
    // command, the rest of a dump collected too briefly) until the line has been
    // quiet for quietTime(): such a byte must not pass for the reply to the next
    // command. Done before a command's first byte and after its last; false when
    // a stop was asked for meanwhile.
    bool readAwayUntilQuiet();
    // How long a line must be silent before nothing more is on its way: some
    // character times at the line's rate, and the longest the unit has taken to
    // reply since the port opened (a slow unit's late answer comes that late).
    std::chrono::steady_clock::duration quietTime() const;
    // The unit's end of the line went away; the port has been closed.
    bool lineLost() const { return m_lineLost; }

    void onSent(SentNotice notice) { m_sentNotice = std::move(notice); }
    int32_t bytesSent() const { return m_sent; }
    uint8_t lastByteSent() const { return m_lastSent; }

private:
    // The link's port: the component's binding, counting what it sends and
    // timing the first reply after each byte.
    class CountingPort : public DevicePort {
    public:
        CountingPort(ProgSession& session, DevicePort& port) : m_session(session), m_port(port) {}
        bool writebyte(uint8_t b) override;
        bool read(uint8_t* buffer, int32_t count) override;
        int32_t rxcount() override { return m_port.rxcount(); }
        bool setdtr(bool on) override { return m_port.setdtr(on); }
        bool setrts(bool on) override { return m_port.setrts(on); }
        void receiveAgain() override { m_port.receiveAgain(); }

    private:
        ProgSession& m_session;
        DevicePort& m_port;
    };

    const std::atomic<bool>& m_stop;
    PostQueue m_queue;
    Trs232c m_rs232c;
    SerialPortBinding m_binding{m_rs232c};
    CountingPort m_port{*this, m_binding};
    QueueEventWaiter m_waiter;
    ConsoleView m_view;
    DeviceLink m_link;
    SentNotice m_sentNotice;
    bool m_lineLost = false;
    int32_t m_sent = 0;
    uint8_t m_lastSent = 0;
    std::chrono::steady_clock::time_point m_sentAt{};  // the last byte's send
    bool m_replyAwaited = false;                       // nothing came since it
    std::chrono::steady_clock::duration m_longestReply{};
};

}  // namespace tv
