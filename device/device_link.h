#pragma once
// The command protocol to the unit: one-letter commands with a byte handshake,
// and the receive state that the handshake and the buffer view share.
#include <array>
#include <chrono>
#include <cstdint>
#include <string>

#include "device/channel_image.h"
#include "device/protocol_bytes.h"

namespace tv {

// What the protocol needs of the serial port.
class DevicePort {
public:
    virtual ~DevicePort() = default;
    virtual bool writebyte(uint8_t b) = 0;
    virtual bool read(uint8_t* buffer, int32_t count) = 0;
    virtual int32_t rxcount() = 0;  // -1 when closed
    virtual bool setdtr(bool on) = 0;
    virtual bool setrts(bool on) = 0;
    // Has the link's continueReceive called at the event loop's next turn,
    // behind the events waiting now.
    virtual void receiveAgain() = 0;
};

// How a command waits: handle pending events (the receive handler among them),
// blocking until one arrives, the deadline passes, or the program shuts down.
class EventWaiter {
public:
    enum class Outcome { Handled, TimedOut, ShuttingDown };
    virtual ~EventWaiter() = default;
    virtual Outcome waitForEvents(std::chrono::steady_clock::time_point deadline) = 0;
};

// What the protocol shows.
class DeviceView {
public:
    virtual ~DeviceView() = default;
    virtual void appendStatusText(const std::string& text) = 0;  // onto Memo2's last line
    virtual void addStatusLine(const std::string& line) = 0;     // a new line in Memo2
    virtual void showRxEventCount(const std::string& text) = 0;  // hidden Edit7
    virtual void setBufferView(const std::string& text) = 0;     // Memo3, whole text
    virtual void showMessage(const std::string& text) = 0;       // modal box, one OK button
    virtual void setCommandsEnabled(bool enabled) = 0;           // Write, Initialize, Dump
    virtual void closeLostLine() = 0;                            // close the port as "Close" does
    // The status line that tells the operator the line was lost, and what to
    // do next where this view runs.
    virtual std::string lineLostText() const {
        return "The line to the unit was lost and the port is closed; \"Open\" reopens it.";
    }
    // After a Write whose replies were slow: how to speed the adapter up.
    virtual void showSlowReplies(const std::string& hint) { addStatusLine(hint); }
};

class DeviceLink {
public:
    static constexpr int kBufferSize = protocol::kBufferSize;
    static constexpr int kImageStart = protocol::kImageStart;  // ChannelImage: 513..640
    static constexpr int kImageSize = protocol::kImageSize;
    static constexpr std::chrono::milliseconds kReplyTimeout{2000};
    // The receive handler reads at most this many bytes at once, and gives the
    // event loop its turn after this much work while bytes are still waiting.
    static constexpr int kReceiveBlock = 4096;
    static constexpr std::chrono::milliseconds kReceiveSlice{50};

    DeviceLink(DevicePort& port, EventWaiter& waiter, DeviceView& view);

    // Commands; each returns false when it stopped early (no reply, shut down)
    // or did not start because another command is still waiting.
    // "Write" of an image its caller computed once and keeps for the read-back.
    bool write(const ChannelImage& image);
    bool dump();                 // "Dump"
    bool initialize();           // "Initialize"
    void viewBuffer();           // "View Buffer"
    void manualSend(uint8_t b);  // hidden Edit8
    void manualCR();             // hidden "send"

    // The serial component's events, bound to these directly.
    void rs232c1RXCHAR();
    void rs232c1PACKET();
    void rs232c1Open();
    void rs232c1Close();
    void rs232c1LINELOST();  // the line went away: closed, and a waiting command stops
    // The next turn of a receive that gave the event loop its turn.
    void continueReceive();

    bool busy() const { return m_busy; }

    // The clock that times a Write's replies; tests fix it.
    using Now = std::chrono::steady_clock::time_point (*)();
    void setReplyClock(Now now) { m_now = now; }

    // Receive state, zero at start.
    int32_t RxEventCount = 0;
    uint8_t RxByte = 0;
    int32_t ReplyFlag = 0;
    std::array<uint8_t, kBufferSize> DeviceBuffer{};
    int32_t BufferPos = 0;

private:
    class CommandScope;

    // Until ReplyFlag is set; false when the unit did not answer in time or the
    // program is shutting down, and the command must stop.
    bool WaitForReply();
    void storeReceived(uint8_t b);
    // Reads and handles what is waiting, for one turn of at most kReceiveSlice.
    void receiveTurn();
    // One byte as the receive rules handle it; its text goes onto `shown`.
    void handleReceived(uint8_t b, std::string& shown);

    DevicePort& m_port;
    EventWaiter& m_waiter;
    DeviceView& m_view;
    bool m_busy = false;
    bool m_lineLost = false;     // since the running command began
    bool m_turnPending = false;  // a continueReceive is queued
    Now m_now = &std::chrono::steady_clock::now;
    std::chrono::steady_clock::time_point m_replyAt{};  // when the awaited reply came
};

}  // namespace tv
