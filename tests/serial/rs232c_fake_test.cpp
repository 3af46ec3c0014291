// Trs232c and tcommthread over the recording fake: step orders, settings,
// results, the event mask and what the monitor posts.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "serial/post_queue.h"
#include "serial/rs232c.h"
#include "tests/support/serial_os_fake.h"

namespace tv {
namespace {

using Op = FakeSerialOs::Op;
using Strings = std::vector<std::string>;

class FakePort : public ::testing::Test {
protected:
    FakePort() {
        auto os = std::make_unique<FakeSerialOs>();
        fake = os.get();
        rs = std::make_unique<Trs232c>(std::move(os), queue.factory());
        rs->showMessage = [this](const std::string& text) { messages.push_back(text); };
    }

    // Runs the UI thread's queue until `count` handler calls were seen or a
    // second has passed.
    void runUntil(const std::vector<std::string>& seen, size_t count) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (seen.size() < count && std::chrono::steady_clock::now() < end) {
            queue.waitAndRun(std::chrono::milliseconds(10));
        }
    }

    // Lets the monitor finish with what it was given: it is back in its wait.
    void settle() {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(fake->waitForWaiter(1000));
    }

    PostQueue queue;
    FakeSerialOs* fake = nullptr;
    std::unique_ptr<Trs232c> rs;
    Strings messages;
};

TEST_F(FakePort, OpenRunsItsStepsInOrderAndCloseReleasesInOrder) {
    rs->OnRXCHAR = [](Trs232c&) {};
    Strings log;
    rs->OnOpen = [&](Trs232c& sender) { log.push_back(sender.setdtr(true) ? "open+dtr" : "open"); };
    rs->OnClose = [&](Trs232c& sender) {
        log.push_back(sender.setdtr(false) && sender.setrts(false) ? "close+lines" : "close");
    };
    ASSERT_TRUE(rs->open());
    EXPECT_FALSE(rs->open());  // already open: nothing happens, OnOpen not again
    ASSERT_TRUE(rs->close());
    EXPECT_FALSE(rs->close());  // closed: OnClose not again
    EXPECT_EQ(log, (Strings{"open+dtr", "close+lines"}));
    const Strings expected = {
        "open COM1",
        "setupQueues 1024 1024",
        "getLineState",
        "setLineState " + FakeSerialOs::describe(LineState{}),
        "setTimeouts 0 0 30000 0 30000",
        "setEventMask 0x1",
        "purge 0xF",
        "createEvents",
        "escape 5",  // OnOpen
        "purge 0x3",
        "setEventMask 0x0",
        "escape 6",  // OnClose, before the port is released
        "escape 4",
        "closeEvents",
        "close",
    };
    EXPECT_EQ(fake->calls(), expected);
    // Closed: every operation reports failure and touches nothing.
    fake->clearCalls();
    uint8_t b = 7;
    uint8_t buf[2] = {1, 2};
    EXPECT_FALSE(rs->read(buf, 2));
    EXPECT_FALSE(rs->write(buf, 2));
    EXPECT_FALSE(rs->readbyte(b));
    EXPECT_FALSE(rs->writebyte(1));
    EXPECT_FALSE(rs->setrts(true));
    EXPECT_FALSE(rs->setdtr(true));
    EXPECT_EQ(rs->rxcount(), -1);
    EXPECT_EQ(b, 7);
    EXPECT_TRUE(fake->calls().empty());
    // And it opens again.
    EXPECT_TRUE(rs->open());
    EXPECT_TRUE(rs->close());
}

TEST_F(FakePort, EventMaskFollowsTheBoundHandlers) {
    struct Case {
        const char* name;
        std::vector<TNotifyEvent Trs232c::*> bound;
        uint32_t mask;
    };
    const Case cases[] = {
        {"none", {}, 0},
        {"open and close only", {&Trs232c::OnOpen, &Trs232c::OnClose, &Trs232c::OnCreate}, 0},
        {"packet only", {&Trs232c::OnPACKET}, EV_RXCHAR},
        {"the window's", {&Trs232c::OnRXCHAR, &Trs232c::OnPACKET, &Trs232c::OnOpen}, EV_RXCHAR},
        {"all line events",
         {&Trs232c::OnBREAK, &Trs232c::OnCTS, &Trs232c::OnDSR, &Trs232c::OnERR, &Trs232c::OnRING,
          &Trs232c::OnRLSD, &Trs232c::OnRXCHAR, &Trs232c::OnRXFLAG, &Trs232c::OnTXEMPTY},
         0x1FF},
        {"modem lines", {&Trs232c::OnCTS, &Trs232c::OnRLSD}, EV_CTS | EV_RLSD},
        {"line lost adds no bit", {&Trs232c::OnRXCHAR, &Trs232c::OnLINELOST}, EV_RXCHAR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto os = std::make_unique<FakeSerialOs>();
        FakeSerialOs* f = os.get();
        Trs232c port(std::move(os), queue.factory());
        bool opened = false;
        for (auto event : c.bound) (port.*event) = [](Trs232c&) {};
        port.OnOpen = [&](Trs232c&) { opened = true; };
        ASSERT_TRUE(port.open());
        EXPECT_TRUE(opened);
        EXPECT_EQ(f->eventMask(), c.mask);
        // A monitor exists exactly when the mask is not 0.
        EXPECT_EQ(f->waitForWaiter(c.mask ? 1000 : 50), c.mask != 0);
        EXPECT_TRUE(port.close());
    }
}

TEST_F(FakePort, LineSettingsReachTheDeviceRecord) {
    LineState present;
    present.Parity = Parity::Mark;
    present.StopBits = StopBits::OneAndHalf;
    present.XonLim = 77;
    present.XoffLim = 88;
    present.XonChar = 0x55;
    present.XoffChar = 0x56;
    present.ErrorChar = 0x3F;
    present.EofChar = 0x1A;
    present.EvtChar = 0x0A;
    fake->setPortState(present);
    rs->charbit = 256 + 7;
    rs->bps = 19200;
    rs->XonLim = 65536 + 5;
    rs->XoffLim = 0;
    rs->XonChar = 0;      // keeps 0x55
    rs->XoffChar = 0x14;  // replaces 0x56
    rs->EvtChar = 0x0D;
    rs->flowflag = 0x10000 + 0x1011;
    rs->readinterval = 20;
    rs->rxtimeout = 1500;
    rs->txtimeout = 2500;
    rs->stopbit = "1.0";        // not a stop-bit text: keeps 1
    rs->paritymode = "ｏｄｄ";  // full width: odd
    ASSERT_TRUE(rs->open());
    const LineState s = fake->lineState();
    EXPECT_EQ(s.BaudRate, 19200u);
    EXPECT_EQ(s.ByteSize, 7);
    EXPECT_EQ(s.Parity, Parity::Odd);
    EXPECT_EQ(s.StopBits, StopBits::OneAndHalf);
    EXPECT_EQ(s.Flags, 0x11011u);  // all 32 bits of the flag word
    EXPECT_EQ(s.XonLim, 5);
    EXPECT_EQ(s.XoffLim, 88);
    EXPECT_EQ(s.XonChar, 0x55);
    EXPECT_EQ(s.XoffChar, 0x14);
    EXPECT_EQ(s.ErrorChar, 0x3F);
    EXPECT_EQ(s.EofChar, 0x1A);
    EXPECT_EQ(s.EvtChar, 0x0D);
    const Timeouts t = fake->timeouts();
    EXPECT_EQ(t.ReadIntervalTimeout, 20u);
    EXPECT_EQ(t.ReadTotalTimeoutConstant, 1500u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 2500u);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier + t.WriteTotalTimeoutMultiplier, 0u);
}

TEST_F(FakePort, ParityAndStopBitTextsSelectOrKeep) {
    struct Case {
        std::string parity;
        std::string stop;
        Parity wantParity;
        StopBits wantStop;
    };
    using enum Parity;
    constexpr StopBits k1 = StopBits::One;
    constexpr StopBits k15 = StopBits::OneAndHalf;
    constexpr StopBits k2 = StopBits::Two;
    // The port starts with mark parity and two stop bits.
    const Case cases[] = {
        {"無し", "1", None, k1},       {"なし", "1.5", None, k15},  {"NONE", "2", Mark, k2},
        {"none", "1.0", Mark, k2},     {"Odd", "", Mark, k2},       {"ｏｄｄ", "1", Odd, k1},
        {"きすう", "1", Odd, k1},      {"ＥＶＥＮ", "1", Even, k1}, {"偶数", "1", Even, k1},
        {"まーく", "1", Mark, k1},     {"space", "1", Space, k1},   {"ｓｐａｃｅ", "1", Space, k1},
        {"スペース", " 1", Space, k2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parity + " / " + c.stop);
        LineState present;
        present.Parity = Parity::Mark;
        present.StopBits = StopBits::Two;
        fake->setPortState(present);
        rs->paritymode = c.parity;
        rs->stopbit = c.stop;
        ASSERT_TRUE(rs->open());
        EXPECT_EQ(fake->lineState().Parity, c.wantParity);
        EXPECT_EQ(fake->lineState().StopBits, c.wantStop);
        rs->close();
    }
}

TEST(Rsflowset, MapsToAndFromTheFlagWord) {
    auto os = std::make_unique<FakeSerialOs>();
    PostQueue queue;
    Trs232c rs(std::move(os), queue.factory());
    rs.flowflag = 65536 + 1;
    EXPECT_EQ(rs.flow(), rsflowset{dfBinary});
    rs.setFlow({dfBinary, dfDtrControl_b0});
    EXPECT_EQ(rs.flowflag, 17);
    rs.flowflag = -1;  // bits 15..31 do not show, and writing the set clears them
    EXPECT_EQ(rs.flow().bits(), 0x7FFFu);
    EXPECT_TRUE(rs.flow().contains(dfAbortOnError));
    rs.setFlow(rs.flow().exclude(dfBinary));
    EXPECT_EQ(rs.flowflag, 0x7FFE);
}

TEST_F(FakePort, FailedOpenReportsReleasesAndStaysClosed) {
    struct Case {
        Op op;
        const char* message;
        Strings tail;  // the calls after the failing one
    };
    const Case cases[] = {
        {Op::Open, "回線オープンエラー", {}},
        {Op::SetupQueues, "バッファサイズ設定エラー", {"purge 0x3", "close"}},
        {Op::SetLineState, "通信条件設定エラー", {"purge 0x3", "close"}},
        {Op::SetTimeouts, "タイムアウト時間設定エラー", {"purge 0x3", "close"}},
    };
    rs->OnRXCHAR = [](Trs232c&) {};
    bool opened = false;
    rs->OnOpen = [&](Trs232c&) { opened = true; };
    for (bool debug : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.message);
            messages.clear();
            fake->clearCalls();
            rs->debug = debug;
            fake->failNext(c.op, c.op == Op::SetLineState ? EINVAL : EIO);
            EXPECT_FALSE(rs->open());
            EXPECT_FALSE(rs->isOpen());
            EXPECT_FALSE(fake->isOpen());  // the device is not left held
            EXPECT_EQ(messages, debug ? Strings{c.message} : Strings{});
            Strings calls = fake->calls();
            calls.erase(calls.begin(), calls.end() - static_cast<long>(c.tail.size()));
            EXPECT_EQ(calls, c.tail);
            EXPECT_EQ(fake->attempts(Op::CreateEvents), 0);
        }
    }
    EXPECT_FALSE(opened);
    EXPECT_EQ(rs->rxcount(), -1);
    EXPECT_FALSE(fake->waitForWaiter(50));  // no monitor was left running
    EXPECT_TRUE(rs->open());
}

TEST_F(FakePort, EmptyPortNameFailsToOpen) {
    rs->portname = "";
    rs->debug = true;
    EXPECT_FALSE(rs->open());
    EXPECT_EQ(messages, Strings{"回線オープンエラー"});
}

TEST_F(FakePort, TransfersReportShortAndFailedOnesAsFalse) {
    rs->rxtimeout = 30;
    rs->txtimeout = 30;
    ASSERT_TRUE(rs->open());
    const uint8_t out[4] = {1, 2, 3, 4};
    EXPECT_TRUE(rs->write(out, 4));
    EXPECT_TRUE(rs->writebyte(0x57));
    EXPECT_EQ(fake->written(), (std::vector<uint8_t>{1, 2, 3, 4, 0x57}));

    fake->failNext(Op::Write, EINTR, 2);  // interrupted twice, then it goes through
    EXPECT_TRUE(rs->writebyte(0x0D));
    EXPECT_EQ(fake->attempts(Op::Write), 5);
    fake->failNext(Op::Write, EAGAIN);
    EXPECT_FALSE(rs->writebyte(1));
    fake->failNext(Op::Write, EIO);
    EXPECT_FALSE(rs->write(out, 4));
    EXPECT_EQ(rs->lastError().kind, SerialError::Kind::HungUp);
    fake->limitTransfer(2);
    EXPECT_FALSE(rs->write(out, 4));

    fake->limitTransfer(-1);
    fake->injectBytes({9, 8, 7});
    EXPECT_EQ(rs->rxcount(), 3);
    uint8_t in[4] = {0, 0, 0, 0};
    EXPECT_FALSE(rs->read(in, 4));  // only 3 within the time-out
    EXPECT_EQ(rs->rxcount(), 0);
    fake->injectBytes({5, 6});
    uint8_t b = 0;
    EXPECT_TRUE(rs->readbyte(b));
    EXPECT_EQ(b, 5);
    fake->failNext(Op::Read, EIO);
    b = 42;
    EXPECT_FALSE(rs->readbyte(b));
    EXPECT_EQ(b, 42);  // left alone on failure
    EXPECT_FALSE(rs->read(in, -1));
    EXPECT_TRUE(rs->read(in, 0));
}

TEST_F(FakePort, ReceiveEventsPostPacketThenRxchar) {
    struct Case {
        const char* name;
        int32_t packetsize;
        std::vector<uint8_t> bytes;
        Strings want;
    };
    const Case cases[] = {
        {"packetsize 0 never posts a packet", 0, {1, 2, 3, 4, 5}, {"rx"}},
        {"4 with 3 queued", 4, {1, 2, 3}, {"rx"}},
        {"4 with 4 queued", 4, {1, 2, 3, 4}, {"packet", "rx"}},
        {"negative posts on every event", -1, {1}, {"packet", "rx"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Strings seen;
        rs->OnRXCHAR = [&](Trs232c&) { seen.push_back("rx"); };
        rs->OnPACKET = [&](Trs232c&) { seen.push_back("packet"); };
        rs->packetsize = c.packetsize;
        ASSERT_TRUE(rs->open());
        ASSERT_TRUE(fake->waitForWaiter(1000));
        fake->injectBytes(c.bytes);
        runUntil(seen, c.want.size());
        settle();
        queue.runPending();
        EXPECT_EQ(seen, c.want);
        rs->close();
        queue.runPending();
    }
}

TEST_F(FakePort, LineEventsPostInTableOrderOnlyForBoundHandlers) {
    Strings seen;
    rs->OnBREAK = [&](Trs232c&) { seen.push_back("break"); };
    rs->OnRING = [&](Trs232c&) { seen.push_back("ring"); };
    rs->OnTXEMPTY = [&](Trs232c&) { seen.push_back("txempty"); };
    rs->OnCTS = [&](Trs232c&) { seen.push_back("cts"); };
    ASSERT_TRUE(rs->open());
    ASSERT_TRUE(fake->waitForWaiter(1000));
    // Nothing is unbound yet, but one wake-up with all events of the mask.
    fake->injectEvents(EV_TXEMPTY | EV_RING | EV_BREAK | EV_CTS);
    runUntil(seen, 4);
    EXPECT_EQ(seen, (Strings{"break", "cts", "ring", "txempty"}));

    // Unbound while open: no further messages. Bound after open outside the
    // mask: none until the next open.
    seen.clear();
    rs->OnCTS = nullptr;
    rs->OnDSR = [&](Trs232c&) { seen.push_back("dsr"); };
    settle();
    fake->injectEvents(EV_CTS | EV_DSR | EV_BREAK);
    runUntil(seen, 1);
    settle();
    queue.runPending();
    EXPECT_EQ(seen, Strings{"break"});
}

TEST_F(FakePort, HandlerExceptionIsReportedOnceAndLaterEventsArrive) {
    Strings reports;
    rs->exceptionReport = [&](const std::exception& e) { reports.push_back(e.what()); };
    int calls = 0;
    rs->OnRXCHAR = [&](Trs232c&) {
        if (++calls == 1) throw std::runtime_error("bad byte");
    };
    ASSERT_TRUE(rs->open());
    ASSERT_TRUE(fake->waitForWaiter(1000));
    fake->injectBytes({1});
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (calls < 1 && std::chrono::steady_clock::now() < end)
        queue.waitAndRun(std::chrono::milliseconds(10));
    settle();
    fake->injectBytes({2});
    while (calls < 2 && std::chrono::steady_clock::now() < end)
        queue.waitAndRun(std::chrono::milliseconds(10));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(reports, Strings{"bad byte"});
}

TEST_F(FakePort, CloseDuringTheWaitIsPromptAndPostsNothing) {
    int events = 0;
    rs->OnRXCHAR = [&](Trs232c&) { ++events; };
    ASSERT_TRUE(rs->open());
    ASSERT_TRUE(fake->waitForWaiter(1000));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(rs->close());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(queue.pending(), 0u);
    queue.runPending();
    EXPECT_EQ(events, 0);
}

TEST_F(FakePort, AFailedWaitIsRetriedWithoutLosingEvents) {
    int events = 0;
    rs->OnRXCHAR = [&](Trs232c&) { ++events; };
    fake->failNext(Op::WaitEvent, EIO, 3);
    ASSERT_TRUE(rs->open());
    ASSERT_TRUE(fake->waitForWaiter(1000));
    EXPECT_EQ(fake->attempts(Op::WaitEvent), 4);
    fake->injectBytes({1});
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (events < 1 && std::chrono::steady_clock::now() < end)
        queue.waitAndRun(std::chrono::milliseconds(10));
    EXPECT_EQ(events, 1);
}

TEST_F(FakePort, QueuedMessagesAreDroppedWithTheComponentAndRunClosedAfterClose) {
    int events = 0;
    int32_t countInHandler = 0;
    rs->OnRXCHAR = [&](Trs232c& sender) {
        ++events;
        countInHandler = sender.rxcount();
    };
    ASSERT_TRUE(rs->open());
    ASSERT_TRUE(fake->waitForWaiter(1000));
    fake->injectBytes({1});
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (queue.pending() == 0 && std::chrono::steady_clock::now() < end)
        std::this_thread::yield();
    rs->close();
    queue.runPending();  // delivered after close, with the port closed
    EXPECT_EQ(events, 1);
    EXPECT_EQ(countInHandler, -1);

    ASSERT_TRUE(rs->open());
    ASSERT_TRUE(fake->waitForWaiter(1000));
    fake->injectBytes({2});
    while (queue.pending() == 0 && std::chrono::steady_clock::now() < end)
        std::this_thread::yield();
    ASSERT_EQ(queue.pending(), 1u);
    rs.reset();
    EXPECT_EQ(queue.runPending(), 0u);
    EXPECT_EQ(events, 1);
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

// Under ThreadSanitizer this is the check that the monitor's reads of the
// bindings and of packetsize do not race with the UI thread's writes.
TEST_F(FakePort, BindingsAndPacketsizeMayChangeWhileOpen) {
    int events = 0;
    rs->OnPACKET = [&](Trs232c&) { ++events; };
    ASSERT_TRUE(rs->open());
    for (int i = 0; i < 300; ++i) {
        fake->injectBytes({static_cast<uint8_t>(i)});
        if (i % 2 == 0) {
            rs->OnRXCHAR = [&](Trs232c&) { ++events; };
        } else {
            rs->OnRXCHAR = nullptr;
        }
        rs->packetsize = i % 3 - 1;
        queue.waitAndRun(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(rs->close());
    queue.runPending();
    EXPECT_GT(events, 0);
}

TEST_F(FakePort, LowLatencyIsAskedAtOpenAndARefusalChangesNothing) {
    rs->OnRXCHAR = [](Trs232c&) {};
    ASSERT_TRUE(rs->open());
    EXPECT_EQ(fake->lowLatencyRequests(), 1);
    const Strings granted = fake->calls();
    ASSERT_TRUE(rs->close());

    fake->clearCalls();
    fake->failNext(Op::LowLatency, EINVAL);  // a pseudo-terminal has no such setting
    ASSERT_TRUE(rs->open());
    EXPECT_EQ(fake->lowLatencyRequests(), 2);
    EXPECT_EQ(fake->calls(), granted);
    EXPECT_TRUE(rs->isOpen());
    EXPECT_TRUE(messages.empty());
}

TEST_F(FakePort, ALostLineIsPostedOnceWhateverTheMask) {
    Strings seen;
    rs->OnRXCHAR = [&](Trs232c&) { seen.push_back("rx"); };
    rs->OnLINELOST = [&](Trs232c& sender) {
        uint8_t b = 0;
        seen.push_back(sender.writebyte(b) ? "lost, still writable" : "lost");
    };
    ASSERT_TRUE(rs->open());
    EXPECT_EQ(fake->eventMask(), EV_RXCHAR);
    settle();
    fake->hangUp();
    runUntil(seen, 1);
    settle();
    queue.runPending();
    EXPECT_EQ(seen, Strings{"lost"});
    EXPECT_TRUE(rs->isOpen());  // closing is the handler's business
    EXPECT_TRUE(rs->close());
}

TEST_F(FakePort, AFailedOpenNamesThePortAndTheReason) {
    fake->failNext(Op::Open, EACCES);
    rs->portname = "/dev/ttyUSB0";
    EXPECT_FALSE(rs->open());
    EXPECT_EQ(rs->openFailureReason().rfind("Port \"/dev/ttyUSB0\" (/dev/ttyUSB0) did not open: "
                                            "permission denied.",
                                            0),
              0u)
        << rs->openFailureReason();
    // A later failure is described by its own reason.
    fake->failNext(Op::SetLineState, EINVAL);
    EXPECT_FALSE(rs->open());
    EXPECT_NE(rs->openFailureReason().find("refused the line settings"), std::string::npos);
}

}  // namespace
}  // namespace tv
