#include "device/device_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "os/hex_text.h"

namespace tv {
namespace {

using Outcome = EventWaiter::Outcome;
using Deadline = std::chrono::steady_clock::time_point;

// Everything the protocol did, in one log: "tx 57", "wait", "dtr 1", "read 1025".
struct Log {
    std::vector<std::string> entries;
    std::vector<uint8_t> sent;
};

class FakePort : public DevicePort {
public:
    explicit FakePort(Log& log) : m_log(log) {}
    bool writebyte(uint8_t b) override {
        m_log.sent.push_back(b);
        m_log.entries.push_back("tx " + hexByte(b));
        if (onWrite) onWrite(b);
        return true;
    }
    bool read(uint8_t* buffer, int32_t count) override {
        ++reads;
        if (logReads) m_log.entries.push_back("read " + std::to_string(count));
        if (onRead) onRead();
        if (failReads > 0) {
            --failReads;
            return false;
        }
        if (incoming.size() < static_cast<size_t>(count)) return false;
        std::copy_n(incoming.begin(), count, buffer);
        incoming.erase(incoming.begin(), incoming.begin() + count);
        return true;
    }
    void receiveAgain() override { ++reposts; }
    int32_t rxcount() override {
        if (closed) return -1;
        if (deadPort) return 1;
        return static_cast<int32_t>(incoming.size());
    }
    bool setdtr(bool on) override {
        m_log.entries.push_back(on ? "dtr 1" : "dtr 0");
        return true;
    }
    bool setrts(bool on) override {
        m_log.entries.push_back(on ? "rts 1" : "rts 0");
        return true;
    }

    std::deque<uint8_t> incoming;
    std::function<void(uint8_t)> onWrite;
    std::function<void()> onRead;
    bool logReads = false;  // the packet handler's reads go into the log
    int reposts = 0;
    int failReads = 0;
    int reads = 0;
    bool closed = false;
    bool deadPort = false;  // rxcount never drops

private:
    Log& m_log;
};

class RecordingView : public DeviceView {
public:
    void appendStatusText(const std::string& text) override { memo2 += text; }
    void addStatusLine(const std::string& line) override { memo2 += "\n" + line; }
    void showRxEventCount(const std::string& text) override { edit7 = text; }
    void setBufferView(const std::string& text) override { memo3 = text; }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void setCommandsEnabled(bool enabled) override { enabledHistory.push_back(enabled); }
    void closeLostLine() override { ++closes; }

    std::string memo2;
    std::string edit7;
    std::string memo3;
    std::vector<std::string> messages;
    std::vector<bool> enabledHistory;
    int closes = 0;
};

// Each wait runs the script for that call; by default a call delivers the
// bytes the port has queued as one receive event.
class ScriptedWaiter : public EventWaiter {
public:
    explicit ScriptedWaiter(Log& log) : m_log(log) {}
    Outcome waitForEvents(Deadline deadline) override {
        m_log.entries.push_back("wait");
        deadlines.push_back(deadline);
        return script(calls++);
    }
    std::function<Outcome(int)> script;
    std::vector<Deadline> deadlines;
    int calls = 0;

private:
    Log& m_log;
};

class DeviceLinkTest : public ::testing::Test {
protected:
    DeviceLinkTest() : port(log), waiter(log), link(port, waiter, view) {
        // A unit that answers every byte with one byte, the complement of what it got.
        port.onWrite = [this](uint8_t b) { port.incoming.push_back(static_cast<uint8_t>(~b)); };
        waiter.script = [this](int) { return deliver(); };
    }

    Outcome deliver() {
        link.rs232c1RXCHAR();
        return Outcome::Handled;
    }

    void receive(std::initializer_list<uint8_t> bytes) {
        port.incoming.insert(port.incoming.end(), bytes);
        link.rs232c1RXCHAR();
    }

    static ChannelTable sampleTable() {
        ChannelTable t;
        for (int c = 0; c < 8; ++c) {
            t.InitReg[c] = 0x100000 * c + 0x0001F3;
            t.RefReg[c] = 0x0000C8 + c;
            t.NReg[c] = 0x026A11;
            t.FuncReg[c] = 0xABCDEF;
        }
        return t;
    }

    // The image as the unit expects it: per channel InitReg, RefReg, NReg, FuncReg,
    // each least significant byte first (non-negative words only).
    static std::vector<uint8_t> imageOf(const ChannelTable& t) {
        std::vector<uint8_t> image;
        for (int c = 0; c < 8; ++c) {
            for (int32_t w : {t.InitReg[c], t.RefReg[c], t.NReg[c], t.FuncReg[c]}) {
                for (int i = 0; i < 4; ++i) image.push_back(static_cast<uint8_t>(w >> (8 * i)));
            }
        }
        return image;
    }

    Log log;
    std::deque<uint8_t> pending;
    FakePort port;
    ScriptedWaiter waiter;
    RecordingView view;
    DeviceLink link;
};

TEST_F(DeviceLinkTest, WriteSendsCommandCrAndImageWithAWaitAfterEach) {
    ChannelTable table = sampleTable();
    table.NReg[6] = -1;  // an option out of range: not two's complement
    table.FuncReg[6] = -300;
    ASSERT_TRUE(link.write(channelImage(table)));

    std::vector<uint8_t> expected = {0x57, 0x0D};
    const std::vector<uint8_t> image = imageOf(table);
    expected.insert(expected.end(), image.begin(), image.end());
    // Channel 6: NReg at block bytes 8..11, FuncReg at 12..15.
    const size_t nreg6 = 2 + 16 * 6 + 8;
    std::copy_n(std::vector<uint8_t>{0xFF, 0x00, 0x00, 0x00}.begin(), 4, expected.begin() + nreg6);
    std::copy_n(std::vector<uint8_t>{0xD4, 0xFF, 0x00, 0x00}.begin(), 4,
                expected.begin() + nreg6 + 4);
    EXPECT_EQ(log.sent, expected);
    // Every byte sent is followed by exactly one wait.
    ASSERT_EQ(log.entries.size(), 260u);
    for (size_t i = 0; i < log.entries.size(); i += 2) {
        EXPECT_EQ(log.entries[i].substr(0, 3), "tx ");
        EXPECT_EQ(log.entries[i + 1], "wait");
    }
    // The image stays in the buffer at 513..640 (the replies filled only 0..129).
    EXPECT_TRUE(std::equal(expected.begin() + 2, expected.end(), link.DeviceBuffer.begin() + 513));
    EXPECT_EQ(view.enabledHistory, (std::vector<bool>{false, true}));
    EXPECT_FALSE(link.busy());
}

TEST_F(DeviceLinkTest, WriteRepliesFillBufferAndViewShowsFromPositionOne) {
    link.DeviceBuffer[200] = 0xEE;  // older contents beyond the replies stay
    ASSERT_TRUE(link.write(channelImage(sampleTable())));
    EXPECT_EQ(link.BufferPos, 130);
    EXPECT_EQ(link.ReplyFlag, 1);
    EXPECT_EQ(link.RxEventCount, 130);
    EXPECT_EQ(view.edit7, "130");
    EXPECT_EQ(link.DeviceBuffer[0], 0xA8);            // ~0x57
    EXPECT_EQ(link.DeviceBuffer[1], 0xF2);            // ~0x0D
    EXPECT_EQ(view.memo2.substr(0, 9), "A8 F2 0C ");  // ~0xF3, the first image byte
    EXPECT_EQ(view.memo2.size(), 130u * 3);

    link.viewBuffer();
    ASSERT_EQ(view.memo3.size(), 17u * 50);
    EXPECT_EQ(view.memo3.substr(0, 50), [&] {
        std::string row;
        for (int k = 1; k <= 16; ++k) row += hexByte(link.DeviceBuffer[k]) + " ";
        return row + "\r\n";
    }());
    EXPECT_EQ(view.memo3.substr(0, 3), "F2 ");
    // Position 200 is row 12, column 7.
    EXPECT_EQ(view.memo3.substr(12 * 50 + 7 * 3, 3), "EE ");
}

TEST_F(DeviceLinkTest, ViewBufferOfFreshWindow) {
    link.viewBuffer();
    std::string row;
    for (int k = 0; k < 16; ++k) row += "00 ";
    row += "\r\n";
    std::string expected;
    for (int r = 0; r < 17; ++r) expected += row;
    EXPECT_EQ(view.memo3, expected);
}

TEST_F(DeviceLinkTest, DumpWaitsOnlyAfterCommandLetter) {
    link.BufferPos = 77;
    ASSERT_TRUE(link.dump());
    EXPECT_EQ(log.entries, (std::vector<std::string>{"tx 44", "wait", "tx 0D"}));
    EXPECT_EQ(link.ReplyFlag, 0);
    EXPECT_EQ(link.BufferPos, 1);  // reset, then one reply
    port.incoming.clear();
    // The unit's memory arrives later, in several events.
    std::deque<uint8_t> memory;
    for (int i = 0; i < 300; ++i) memory.push_back(static_cast<uint8_t>(i));
    port.incoming = memory;
    link.rs232c1RXCHAR();
    link.viewBuffer();
    EXPECT_EQ(view.memo3.substr(0, 6), "00 01 ");  // position 1 holds the second memory byte
    EXPECT_EQ(link.BufferPos, 301);
}

TEST_F(DeviceLinkTest, InitializeKeepsBufferPosAndLeavesFlagSet) {
    link.BufferPos = 10;
    ASSERT_TRUE(link.initialize());
    EXPECT_EQ(log.entries, (std::vector<std::string>{"tx 49", "wait", "tx 0D"}));
    EXPECT_EQ(link.BufferPos, 11);
    EXPECT_EQ(link.DeviceBuffer[10], 0xB6);  // ~0x49
    EXPECT_EQ(link.ReplyFlag, 1);
}

TEST_F(DeviceLinkTest, UnaskedByteDoesNotEndTheFirstWait) {
    receive({0x55});
    EXPECT_EQ(link.ReplyFlag, 1);
    port.onWrite = nullptr;  // the unit stays silent
    int calls = 0;
    waiter.script = [&](int) {
        ++calls;
        return Outcome::TimedOut;
    };
    EXPECT_FALSE(link.dump());
    EXPECT_EQ(calls, 1);
}

TEST_F(DeviceLinkTest, DoubleRepliesEndWaitsByArrivalNotByPair) {
    // Two bytes for each byte sent, delivered one per event: the late one of each
    // pair ends the next wait at once.
    port.onWrite = [this](uint8_t) { pending.insert(pending.end(), {0x11, 0x22}); };
    waiter.script = [this](int) {
        port.incoming.push_back(pending.front());
        pending.pop_front();
        return deliver();
    };
    ASSERT_TRUE(link.write(channelImage(sampleTable())));
    EXPECT_EQ(waiter.calls, 130);
    EXPECT_EQ(link.BufferPos, 130);
    EXPECT_EQ(pending.size(), 130u);
}

TEST_F(DeviceLinkTest, TimeOutStopsCommandWithStatusLine) {
    port.onWrite = nullptr;
    waiter.script = [](int call) { return call < 3 ? Outcome::Handled : Outcome::TimedOut; };
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(link.write(channelImage(sampleTable())));
    EXPECT_EQ(log.sent, (std::vector<uint8_t>{0x57}));
    EXPECT_EQ(view.memo2, "\nNo reply from the unit");
    EXPECT_EQ(view.enabledHistory, (std::vector<bool>{false, true}));
    EXPECT_FALSE(link.busy());
    // One deadline for the whole wait, two seconds after it began.
    ASSERT_EQ(waiter.deadlines.size(), 4u);
    EXPECT_EQ(waiter.deadlines.front(), waiter.deadlines.back());
    EXPECT_GE(waiter.deadlines.front(), before + DeviceLink::kReplyTimeout);
    EXPECT_LE(waiter.deadlines.front(),
              std::chrono::steady_clock::now() + DeviceLink::kReplyTimeout);
}

TEST_F(DeviceLinkTest, ReplyHandledAtTheDeadlineStillCounts) {
    waiter.script = [this](int) {
        deliver();
        return Outcome::TimedOut;
    };
    EXPECT_TRUE(link.initialize());
    EXPECT_EQ(view.memo2.find("No reply"), std::string::npos);
}

TEST_F(DeviceLinkTest, ShutdownStopsSilently) {
    waiter.script = [this](int call) { return call < 10 ? deliver() : Outcome::ShuttingDown; };
    EXPECT_FALSE(link.write(channelImage(sampleTable())));
    EXPECT_EQ(log.sent.size(), 11u);
    EXPECT_EQ(view.memo2.size(), 10u * 3);  // the ten replies, no line added
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.enabledHistory, (std::vector<bool>{false, true}));
}

TEST_F(DeviceLinkTest, CommandStartedDuringWaitDoesNothing) {
    bool nestedResults[3] = {true, true, true};
    waiter.script = [&](int call) {
        if (call == 0) {
            EXPECT_TRUE(link.busy());
            const size_t sentBefore = log.sent.size();
            nestedResults[0] = link.dump();
            nestedResults[1] = link.initialize();
            nestedResults[2] = link.write(channelImage(sampleTable()));
            EXPECT_EQ(log.sent.size(), sentBefore);
        }
        return deliver();
    };
    ASSERT_TRUE(link.dump());
    EXPECT_FALSE(nestedResults[0]);
    EXPECT_FALSE(nestedResults[1]);
    EXPECT_FALSE(nestedResults[2]);
    EXPECT_EQ(view.enabledHistory, (std::vector<bool>{false, true}));
}

TEST_F(DeviceLinkTest, ExceptionDuringWaitReenablesCommands) {
    waiter.script = [](int) -> Outcome { throw std::runtime_error("boom"); };
    EXPECT_THROW(link.write(channelImage(sampleTable())), std::runtime_error);
    EXPECT_FALSE(link.busy());
    EXPECT_EQ(view.enabledHistory, (std::vector<bool>{false, true}));
    waiter.script = [this](int) { return deliver(); };
    EXPECT_TRUE(link.initialize());  // usable again
}

TEST_F(DeviceLinkTest, BufferNeverWrittenPastItsEnd) {
    for (int i = 0; i < 1100; ++i) port.incoming.push_back(static_cast<uint8_t>(i % 251));
    link.rs232c1RXCHAR();
    EXPECT_EQ(link.BufferPos, 1100);  // still counted
    EXPECT_EQ(link.DeviceBuffer[1024], 1024 % 251);
    EXPECT_EQ(view.memo2.size(), 1100u * 3);
    EXPECT_EQ(view.memo2.substr(1099 * 3), hexByte(1099 % 251) + " ");
    receive({0x01});
    EXPECT_EQ(link.BufferPos, 1101);
    EXPECT_EQ(link.DeviceBuffer[1024], 1024 % 251);
}

TEST_F(DeviceLinkTest, RepliesDoNotChangeTheImageBeingSent) {
    // A chatty unit: five bytes for each one, more than 513 during one Write.
    port.onWrite = [this](uint8_t) {
        for (int i = 0; i < 5; ++i) port.incoming.push_back(0x99);
    };
    const ChannelTable table = sampleTable();
    ASSERT_TRUE(link.write(channelImage(table)));
    EXPECT_EQ(link.BufferPos, 650);
    ASSERT_EQ(log.sent.size(), 130u);
    EXPECT_EQ(std::vector<uint8_t>(log.sent.begin() + 2, log.sent.end()), imageOf(table));
}

TEST_F(DeviceLinkTest, EventAfterCloseReadsAndShowsNothing) {
    port.closed = true;
    port.incoming.push_back(0x42);
    link.rs232c1RXCHAR();
    EXPECT_EQ(port.reads, 0);
    EXPECT_EQ(view.memo2, "");
    EXPECT_EQ(link.ReplyFlag, 0);
    EXPECT_EQ(link.RxEventCount, 1);  // the event was handled all the same
}

TEST_F(DeviceLinkTest, EventWithNothingWaitingIsCounted) {
    link.rs232c1RXCHAR();
    link.rs232c1RXCHAR();
    EXPECT_EQ(link.RxEventCount, 2);
    EXPECT_EQ(view.edit7, "2");
    EXPECT_EQ(view.memo2, "");
}

TEST_F(DeviceLinkTest, FailedReadShowsMessageStoresPreviousByteOnce) {
    receive({0x3C});
    port.failReads = 1;
    receive({0x40, 0x41});
    // The failed read repeats 3C, then the event ends; the rest waits for the next one.
    EXPECT_EQ(view.messages, std::vector<std::string>{"データ読込みエラー"});
    EXPECT_EQ(view.memo2, "3C 3C ");
    EXPECT_EQ(link.BufferPos, 2);
    EXPECT_EQ(link.DeviceBuffer[1], 0x3C);
    link.rs232c1RXCHAR();
    EXPECT_EQ(view.memo2, "3C 3C 40 41 ");
}

TEST_F(DeviceLinkTest, DeadPortGivesOneMessagePerEventAndNoEndlessLoop) {
    receive({0x07});
    port.deadPort = true;
    port.failReads = 1000000;
    link.ReplyFlag = 0;
    link.rs232c1RXCHAR();
    link.rs232c1RXCHAR();
    EXPECT_EQ(port.reads, 3);
    EXPECT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(link.ReplyFlag, 1);
    EXPECT_EQ(view.memo2, "07 07 07 ");
}

TEST_F(DeviceLinkTest, PacketReadIsCutToLocalBuffer) {
    port.logReads = true;
    for (int i = 0; i < 5000; ++i) port.incoming.push_back(0);
    link.rs232c1PACKET();
    EXPECT_EQ(view.messages, std::vector<std::string>{"パケットサイズです"});
    EXPECT_EQ(log.entries, std::vector<std::string>{"read 1025"});
    port.closed = true;
    link.rs232c1PACKET();
    EXPECT_EQ(log.entries.size(), 1u);
}

TEST_F(DeviceLinkTest, ModemLinesAndManualSend) {
    link.rs232c1Open();
    link.manualSend('a');
    link.manualCR();
    link.rs232c1Close();
    EXPECT_EQ(log.entries,
              (std::vector<std::string>{"dtr 1", "rts 1", "tx 61", "tx 0D", "dtr 0", "rts 0"}));
}

TEST_F(DeviceLinkTest, AFloodIsTakenInBlocksAndTurnsThatGiveTheLoopItsTurn) {
    const int total = 5 * DeviceLink::kReceiveBlock;
    for (int i = 0; i < total; ++i) port.incoming.push_back(static_cast<uint8_t>(i));
    // Slow reads: the 50 ms of a turn are used up after a few blocks.
    port.onRead = [] { std::this_thread::sleep_for(std::chrono::milliseconds(30)); };
    link.rs232c1RXCHAR();
    EXPECT_EQ(port.reposts, 1);
    EXPECT_LT(port.reads, 5);
    EXPECT_FALSE(port.incoming.empty());
    // Events queued meanwhile are counted and leave the reading to the turn asked for.
    const int readsBefore = port.reads;
    link.rs232c1RXCHAR();
    EXPECT_EQ(port.reads, readsBefore);
    EXPECT_EQ(link.RxEventCount, 2);
    // The turns asked for finish the work and are not counted as receive events.
    while (port.reposts > 0) {
        --port.reposts;
        link.continueReceive();
    }
    EXPECT_TRUE(port.incoming.empty());
    EXPECT_EQ(port.reads, 5);
    EXPECT_EQ(link.RxEventCount, 2);
    EXPECT_EQ(link.BufferPos, total);
    EXPECT_EQ(view.memo2.size(), static_cast<size_t>(total) * 3);
    EXPECT_EQ(view.memo2.substr(view.memo2.size() - 6), "FE FF ");
}

TEST_F(DeviceLinkTest, ALostLineStopsTheWaitingCommandAtOnce) {
    port.onWrite = nullptr;  // the line is gone: no reply comes
    waiter.script = [this](int call) {
        if (call == 0) link.rs232c1LINELOST();
        return Outcome::Handled;
    };
    EXPECT_FALSE(link.write(channelImage(sampleTable())));
    EXPECT_EQ(waiter.calls, 1);
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(view.memo2,
              "\nThe line to the unit was lost and the port is closed; \"Open\" reopens it."
              "\nNo reply from the unit");
    // The next command waits as usual again.
    waiter.script = [this](int) { return deliver(); };
    port.onWrite = [this](uint8_t b) { port.incoming.push_back(b); };
    EXPECT_TRUE(link.initialize());
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

// A clock that the fake unit moves on by a set time with every reply.
std::chrono::steady_clock::time_point g_fakeNow;
std::chrono::steady_clock::time_point fakeNow() { return g_fakeNow; }

TEST_F(DeviceLinkTest, SlowRepliesAddTheLatencyHintOnce) {
    link.setReplyClock(&fakeNow);
    const auto unitAnswering = [this](std::chrono::microseconds each) {
        port.onWrite = [this, each](uint8_t b) {
            g_fakeNow += each;
            port.incoming.push_back(static_cast<uint8_t>(~b));
        };
    };
    // Just at the limit and below it: no hint.
    for (const auto each : {std::chrono::microseconds(8000), std::chrono::microseconds(300)}) {
        unitAnswering(each);
        view.memo2.clear();
        ASSERT_TRUE(link.write(channelImage(sampleTable())));
        EXPECT_EQ(view.memo2.find("latency timer"), std::string::npos) << each.count();
    }
    // An adapter's 16 ms: one line with the time a reply took.
    unitAnswering(std::chrono::microseconds(16400));
    view.memo2.clear();
    ASSERT_TRUE(link.write(channelImage(sampleTable())));
    const size_t hint = view.memo2.find("\nEach reply took 16.4 ms");
    ASSERT_NE(hint, std::string::npos) << view.memo2;
    EXPECT_NE(view.memo2.find("latency timer", hint), std::string::npos);
    EXPECT_EQ(view.memo2.find('\n', hint + 1), std::string::npos);  // one line, the last
}

}  // namespace
}  // namespace tv
