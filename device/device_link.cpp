#include "device/device_link.h"

#include <algorithm>
#include <limits>
#include <string>

#include "device/reply_timing.h"
#include "os/hex_text.h"

namespace tv {

namespace {

using protocol::kCR;
constexpr int kViewRows = 17;
constexpr int kViewColumns = 16;
constexpr int kPacketBufferSize = 1025;

// Counters that run for the life of the window stop at the top instead of overflowing.
void countUp(int32_t& counter) {
    if (counter < std::numeric_limits<int32_t>::max()) {
        ++counter;
    }
}

}  // namespace

// Marks a command as running: the command buttons are disabled while it waits
// and enabled again however it ends.
class DeviceLink::CommandScope {
public:
    explicit CommandScope(DeviceLink& link) : m_link(link) {
        m_link.m_busy = true;
        m_link.m_lineLost = false;
        m_link.m_view.setCommandsEnabled(false);
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;
    ~CommandScope() {
        m_link.m_busy = false;
        m_link.m_view.setCommandsEnabled(true);
    }

private:
    DeviceLink& m_link;
};

DeviceLink::DeviceLink(DevicePort& port, EventWaiter& waiter, DeviceView& view)
    : m_port(port), m_waiter(waiter), m_view(view) {}

bool DeviceLink::write(const ChannelImage& image) {
    if (m_busy) {
        return false;
    }
    CommandScope scope(*this);
    BufferPos = 0;
    ReplyFlag = 0;

    // The image stays in DeviceBuffer for anyone who looks, but the bytes are sent
    // from the caller's image: replies keep landing in the buffer and, after 513 of
    // them, would otherwise overwrite image bytes not yet sent.
    std::copy(image.begin(), image.end(), DeviceBuffer.begin() + kImageStart);

    // The time each reply took, from its byte's send to the reply's arrival;
    // showing it afterwards is the window's time, not the line's.
    std::chrono::steady_clock::duration replies{};
    const auto sendAndWait = [&](uint8_t b) {
        ReplyFlag = 0;
        const auto sent = m_now();
        m_port.writebyte(b);
        if (!WaitForReply()) return false;
        replies += std::max(m_replyAt - sent, std::chrono::steady_clock::duration::zero());
        return true;
    };
    if (!sendAndWait(protocol::kWrite) || !sendAndWait(kCR)) {
        return false;
    }
    for (const uint8_t b : image) {
        if (!sendAndWait(b)) {
            return false;
        }
    }
    if (auto hint = slowReplyHint(replies, 2 + kImageSize)) m_view.showSlowReplies(*hint);
    return true;
}

bool DeviceLink::dump() {
    if (m_busy) {
        return false;
    }
    CommandScope scope(*this);
    BufferPos = 0;
    ReplyFlag = 0;
    m_port.writebyte(protocol::kDump);
    if (!WaitForReply()) {
        return false;
    }
    // The unit's memory follows unasked; the receive handler collects it.
    ReplyFlag = 0;
    m_port.writebyte(kCR);
    return true;
}

bool DeviceLink::initialize() {
    if (m_busy) {
        return false;
    }
    CommandScope scope(*this);
    ReplyFlag = 0;  // BufferPos is left alone: the answer lands behind earlier data
    m_port.writebyte(protocol::kInitialize);
    if (!WaitForReply()) {
        return false;
    }
    m_port.writebyte(kCR);
    return true;
}

void DeviceLink::viewBuffer() {
    std::string text;
    text.reserve(kViewRows * (kViewColumns * 3 + 2));
    // Position 0, the first byte after a Dump or Write, is not shown.
    for (int r = 0; r < kViewRows; ++r) {
        for (int k = 0; k < kViewColumns; ++k) {
            text += hexByte(DeviceBuffer[static_cast<size_t>(1 + kViewColumns * r + k)]);
            text += ' ';
        }
        text += "\r\n";
    }
    m_view.setBufferView(text);
}

void DeviceLink::manualSend(uint8_t b) { m_port.writebyte(b); }

void DeviceLink::manualCR() { m_port.writebyte(kCR); }

void DeviceLink::rs232c1RXCHAR() {
    // Counted even when the port has closed meanwhile: the event was handled.
    countUp(RxEventCount);
    m_view.showRxEventCount(std::to_string(RxEventCount));
    // During a flood the events queue up faster than turns end; the queued turn
    // takes what is waiting, so the loop's pass over them stays short.
    if (!m_turnPending) receiveTurn();
}

void DeviceLink::continueReceive() {
    m_turnPending = false;
    receiveTurn();
}

void DeviceLink::receiveTurn() {
    const auto until = std::chrono::steady_clock::now() + kReceiveSlice;
    std::array<uint8_t, kReceiveBlock> block;
    // The text of the whole turn goes to the view at once: the memo is laid out
    // once per turn, not once per byte.
    std::string shown;
    bool first = true;
    for (int32_t waiting = m_port.rxcount(); waiting > 0; waiting = m_port.rxcount()) {
        // A flood must not hold the window: the rest is taken at the next turn.
        if (!first && std::chrono::steady_clock::now() >= until) {
            m_turnPending = true;
            m_port.receiveAgain();
            break;
        }
        first = false;
        const int32_t count = std::min<int32_t>(waiting, kReceiveBlock);
        if (!m_port.read(block.data(), count)) {
            // RxByte keeps the byte before, which is stored and shown once more.
            // A dead port can go on reporting bytes that no read delivers; one
            // message per event is enough, the rest waits for the next event.
            m_view.appendStatusText(shown);
            shown.clear();
            m_view.showMessage("データ読込みエラー");
            handleReceived(RxByte, shown);
            break;
        }
        shown.reserve(shown.size() + static_cast<size_t>(count) * 3);
        for (int32_t i = 0; i < count; ++i) handleReceived(block[static_cast<size_t>(i)], shown);
    }
    m_view.appendStatusText(shown);
}

void DeviceLink::handleReceived(uint8_t b, std::string& shown) {
    RxByte = b;
    if (ReplyFlag == 0) m_replyAt = m_now();
    ReplyFlag = 1;
    shown += hexByte(RxByte);
    shown += ' ';
    storeReceived(RxByte);
}

void DeviceLink::rs232c1PACKET() {
    m_view.showMessage("パケットサイズです");
    int32_t count = m_port.rxcount();
    if (count <= 0) {
        return;
    }
    if (count > kPacketBufferSize) {
        count = kPacketBufferSize;
    }
    std::array<uint8_t, kPacketBufferSize> discard{};
    m_port.read(discard.data(), count);
}

void DeviceLink::rs232c1Open() {
    m_port.setdtr(true);
    m_port.setrts(true);
}

void DeviceLink::rs232c1Close() {
    m_port.setdtr(false);
    m_port.setrts(false);
}

void DeviceLink::rs232c1LINELOST() {
    m_lineLost = true;  // a command waiting now stops once this handler returns
    m_view.closeLostLine();
    m_view.addStatusLine(m_view.lineLostText());
}

bool DeviceLink::WaitForReply() {
    const auto deadline = std::chrono::steady_clock::now() + kReplyTimeout;
    while (ReplyFlag == 0) {
        if (m_lineLost) {
            m_view.addStatusLine("No reply from the unit");
            return false;
        }
        EventWaiter::Outcome outcome = m_waiter.waitForEvents(deadline);
        if (m_lineLost && ReplyFlag == 0) continue;  // stops at the test above
        // A waiter kept busy by other events must not stretch the wait.
        if (outcome == EventWaiter::Outcome::Handled && ReplyFlag == 0 &&
            std::chrono::steady_clock::now() >= deadline) {
            outcome = EventWaiter::Outcome::TimedOut;
        }
        switch (outcome) {
            case EventWaiter::Outcome::Handled:
                break;
            case EventWaiter::Outcome::TimedOut:
                if (ReplyFlag != 0) {
                    return true;  // the reply came with the last events handled
                }
                m_view.addStatusLine("No reply from the unit");
                return false;
            case EventWaiter::Outcome::ShuttingDown:
                return false;
        }
    }
    return true;
}

void DeviceLink::storeReceived(uint8_t b) {
    // Bytes beyond the buffer's end are dropped; BufferPos still counts them.
    if (BufferPos >= 0 && BufferPos < kBufferSize) {
        DeviceBuffer[static_cast<size_t>(BufferPos)] = b;
    }
    countUp(BufferPos);
}

}  // namespace tv
