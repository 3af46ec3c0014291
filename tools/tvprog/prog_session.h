#pragma once
// One open line to the unit: the serial component with the window's line
// settings, its posted events run by a PostQueue, and the window's device link
// on top, showing on the console.
#include <atomic>
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
    QueueEventWaiter& waiter() { return m_waiter; }
    ConsoleView& view() { return m_view; }

    // Reads away what the unit sent before the command and what it is still
    // sending (a unit slower than the last dump's collection), until the line
    // has been quiet for a while: a late answer to an earlier command must not
    // pass for the reply to this one.
    void discardReceived();
    // The unit's end of the line went away; the port has been closed.
    bool lineLost() const { return m_lineLost; }

    void onSent(SentNotice notice) { m_sentNotice = std::move(notice); }
    int32_t bytesSent() const { return m_sent; }
    uint8_t lastByteSent() const { return m_lastSent; }

private:
    // The link's port: the component's binding, counting what it sends.
    class CountingPort : public DevicePort {
    public:
        CountingPort(ProgSession& session, DevicePort& port) : m_session(session), m_port(port) {}
        bool writebyte(uint8_t b) override;
        bool read(uint8_t* buffer, int32_t count) override { return m_port.read(buffer, count); }
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
};

}  // namespace tv
