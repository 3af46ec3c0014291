// Trs232c on real pseudo-terminals: configuration, transfers, time-outs,
// exclusivity, received-data events on the UI thread, and a monitor that
// sleeps while it waits, also after a hang-up.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <termios.h>

#include <chrono>
#include <thread>

#include "pty_pair.h"
#include "serial/post_queue.h"
#include "serial/rs232c.h"
#include "serial/serial_os_linux.h"

namespace tv {
namespace {

using Clock = std::chrono::steady_clock;
using test::PtyPair;

std::chrono::microseconds processCpuTime() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return std::chrono::seconds(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           std::chrono::microseconds(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

// CPU time of the whole process over `span` while this thread sleeps: what
// the monitor thread spends waiting.
std::chrono::microseconds cpuWhileSleeping(std::chrono::milliseconds span) {
    const auto before = processCpuTime();
    std::this_thread::sleep_for(span);
    return processCpuTime() - before;
}

class PtyPort : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        rs.portname = pty.path();
    }

    // Runs the UI queue until `done` holds or a second has passed.
    template <typename Done>
    bool runUntil(Done done) {
        const auto end = Clock::now() + std::chrono::seconds(2);
        while (!done() && Clock::now() < end) queue.waitAndRun(std::chrono::milliseconds(10));
        return done();
    }

    PtyPair pty;
    PostQueue queue;
    Trs232c rs{std::make_unique<LinuxSerialOs>(), queue.factory()};
};

TEST_F(PtyPort, AppliesTheLineSettings) {
    rs.bps = 19200;
    rs.charbit = 7;
    rs.paritymode = "EVEN";
    rs.stopbit = "2";
    rs.setFlow({dfBinary, dfOutX});
    ASSERT_TRUE(rs.open());
    termios tio{};
    ASSERT_EQ(::tcgetattr(pty.slaveFd(), &tio), 0);
    // A pseudo-terminal forces 8 data bits without parity; the rest it keeps.
    EXPECT_EQ(cfgetospeed(&tio), B19200);
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_TRUE(tio.c_iflag & IXON);
    EXPECT_FALSE(tio.c_iflag & IXOFF);
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO));  // raw
}

TEST_F(PtyPort, RefusedSettingsFailTheOpenAndReleaseTheDevice) {
    struct Case {
        int32_t bps;
        int32_t charbit;
        const char* stopbit;
    };
    const Case refused[] = {{12345, 8, "1"}, {-9600, 8, "1"}, {9600, 9, "1"}, {9600, 8, "1.5"}};
    for (const Case& c : refused) {
        rs.bps = c.bps;
        rs.charbit = c.charbit;
        rs.stopbit = c.stopbit;
        EXPECT_FALSE(rs.open());
        EXPECT_FALSE(rs.isOpen());
    }
    // Nothing holds the device now: another component gets it.
    Trs232c other{std::make_unique<LinuxSerialOs>(), queue.factory()};
    other.portname = pty.path();
    EXPECT_TRUE(other.open());
}

TEST_F(PtyPort, MovesBytesBothWaysWithinTheTimeouts) {
    rs.rxtimeout = 100;
    rs.txtimeout = 100;
    ASSERT_TRUE(rs.open());
    EXPECT_TRUE(rs.writebyte(0x57));
    const uint8_t block[3] = {0x0D, 0x00, 0xFF};
    EXPECT_TRUE(rs.write(block, 3));
    EXPECT_EQ(pty.receive(4), (std::vector<uint8_t>{0x57, 0x0D, 0x00, 0xFF}));

    pty.send({1, 2, 3});
    const auto end = Clock::now() + std::chrono::seconds(1);
    while (rs.rxcount() < 3 && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(rs.rxcount(), 3);
    uint8_t in[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_TRUE(rs.read(in, 2));
    uint8_t b = 0;
    EXPECT_TRUE(rs.readbyte(b));
    EXPECT_EQ((std::vector<uint8_t>{in[0], in[1], b}), (std::vector<uint8_t>{1, 2, 3}));

    // Nothing more comes: the read gives up after rxtimeout and writes nothing.
    in[0] = 0xAA;
    const auto start = Clock::now();
    EXPECT_FALSE(rs.read(in, 1));
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(90));
    EXPECT_LT(waited, std::chrono::milliseconds(1000));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    pty.send({9});
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(in[0], 0xAA);
    EXPECT_EQ(rs.rxcount(), 1);  // the late byte waits for the next read
}

TEST_F(PtyPort, AWriteNobodyReadsEndsAtTheTimeout) {
    rs.txtimeout = 100;
    ASSERT_TRUE(rs.open());
    const std::vector<uint8_t> big(1 << 20, 0x55);
    const auto start = Clock::now();
    EXPECT_FALSE(rs.write(big.data(), static_cast<int32_t>(big.size())));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
}

TEST_F(PtyPort, BytesThatArrivedBeforeOpenArePurged) {
    pty.send({1, 2, 3, 4, 5});
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(rs.open());
    EXPECT_EQ(rs.rxcount(), 0);
}

TEST_F(PtyPort, ComNamesFollowTheEnvironment) {
    ::setenv("TVCONFIG_COM7", pty.path().c_str(), 1);
    rs.portname = "com7";
    EXPECT_TRUE(rs.open());
    ::unsetenv("TVCONFIG_COM7");
    Trs232c none{std::make_unique<LinuxSerialOs>(), queue.factory()};
    none.portname = "";
    EXPECT_FALSE(none.open());
}

TEST_F(PtyPort, ASecondOpenOfTheSameDeviceFails) {
    ASSERT_TRUE(rs.open());
    Trs232c second{std::make_unique<LinuxSerialOs>(), queue.factory()};
    second.portname = pty.path();
    EXPECT_FALSE(second.open());
    EXPECT_EQ(second.lastError().kind, SerialError::Kind::Busy);
    rs.close();
    EXPECT_TRUE(second.open());
}

TEST_F(PtyPort, ReceivedBytesReachTheUiThreadInOrder) {
    std::vector<uint8_t> got;
    int events = 0;
    const auto uiThread = std::this_thread::get_id();
    bool onUiThread = true;
    rs.OnRXCHAR = [&](Trs232c& sender) {
        ++events;
        onUiThread = onUiThread && std::this_thread::get_id() == uiThread;
        uint8_t b = 0;
        while (sender.rxcount() > 0 && sender.readbyte(b)) got.push_back(b);
    };
    ASSERT_TRUE(rs.open());
    std::vector<uint8_t> sent;
    for (int chunk = 0; chunk < 10; ++chunk) {
        std::vector<uint8_t> bytes;
        for (int i = 0; i < 20; ++i)
            bytes.push_back(static_cast<uint8_t>(sent.size() + bytes.size()));
        sent.insert(sent.end(), bytes.begin(), bytes.end());
        pty.send(bytes);
        queue.waitAndRun(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(runUntil([&] { return got.size() >= sent.size(); }));
    EXPECT_EQ(got, sent);
    EXPECT_TRUE(onUiThread);
    EXPECT_GE(events, 1);
}

TEST_F(PtyPort, UnreadBytesRaiseOneEventAndTheMonitorSleeps) {
    int events = 0;
    rs.OnRXCHAR = [&](Trs232c&) { ++events; };  // reads nothing
    ASSERT_TRUE(rs.open());
    pty.send({1, 2, 3});
    EXPECT_TRUE(runUntil([&] { return events == 1; }));
    const auto cpu = cpuWhileSleeping(std::chrono::milliseconds(1000));
    queue.runPending();
    EXPECT_EQ(events, 1);
    EXPECT_LT(cpu, std::chrono::milliseconds(50));
    pty.send({4});  // new data: a new event although the old bytes are still there
    EXPECT_TRUE(runUntil([&] { return events == 2; }));
    EXPECT_EQ(rs.rxcount(), 4);
}

TEST_F(PtyPort, AHangUpFailsTransfersWithoutSpinning) {
    rs.rxtimeout = 200;
    int events = 0;
    rs.OnRXCHAR = [&](Trs232c&) { ++events; };
    ASSERT_TRUE(rs.open());
    pty.closeMaster();
    const auto cpu = cpuWhileSleeping(std::chrono::milliseconds(1000));
    EXPECT_LT(cpu, std::chrono::milliseconds(50));
    uint8_t b = 0;
    EXPECT_FALSE(rs.readbyte(b));
    EXPECT_FALSE(rs.writebyte(1));
    const auto start = Clock::now();
    EXPECT_TRUE(rs.close());
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
}

TEST_F(PtyPort, ModemEventsStayQuietWhereTheDeviceHasNoModemLines) {
    int events = 0;
    rs.OnCTS = [&](Trs232c&) { ++events; };
    rs.OnRLSD = [&](Trs232c&) { ++events; };
    rs.OnRXCHAR = [&](Trs232c&) { ++events; };
    ASSERT_TRUE(rs.open());
    pty.send({1});
    EXPECT_TRUE(runUntil([&] { return events == 1; }));
    const auto start = Clock::now();
    EXPECT_TRUE(rs.close());
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
    queue.runPending();
    EXPECT_EQ(events, 1);
}

TEST_F(PtyPort, CloseDuringTheWaitIsPromptAndPostsNothing) {
    int events = 0;
    rs.OnRXCHAR = [&](Trs232c&) { ++events; };
    ASSERT_TRUE(rs.open());
    // A pseudo-terminal has no modem lines to drive.
    EXPECT_FALSE(rs.setdtr(true));
    EXPECT_FALSE(rs.setrts(true));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the monitor is waiting
    const auto start = Clock::now();
    EXPECT_TRUE(rs.close());
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(queue.pending(), 0u);
}

}  // namespace
}  // namespace tv
