// tvunit, the simulated unit, serving the component over its pseudo-terminal:
// the W/D/I commands, reconnecting clients, the fault options and the log.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "serial/post_queue.h"
#include "serial/rs232c.h"
#include "serial/serial_os_linux.h"
#include "tests/support/unit_launcher.h"

namespace tv {
namespace {

using Bytes = std::vector<uint8_t>;

// tvunit running as a child process with its terminal's path read from stdout.
using TvUnit = test::UnitLauncher;

std::string tempPath(const char* name) {
    return ::testing::TempDir() + "tvunit-" + std::to_string(::getpid()) + "-" + name;
}

class TvUnitClient : public ::testing::Test {
protected:
    void connect(const std::string& path, int32_t timeoutMs = 1000) {
        rs.portname = path;
        rs.rxtimeout = timeoutMs;
        ASSERT_TRUE(rs.open());
    }
    // Sends `out` byte by byte, each followed by a wait for `perByte` replies.
    Bytes exchange(const Bytes& out, int perByte = 1) {
        Bytes replies;
        for (uint8_t b : out) {
            EXPECT_TRUE(rs.writebyte(b));
            for (int i = 0; i < perByte; ++i) {
                uint8_t r = 0;
                if (rs.readbyte(r)) replies.push_back(r);
            }
        }
        return replies;
    }
    Bytes readAll(int count) {
        Bytes got(static_cast<size_t>(count));
        EXPECT_TRUE(rs.read(got.data(), count));
        return got;
    }

    PostQueue queue;
    Trs232c rs{std::make_unique<LinuxSerialOs>(), queue.factory()};
};

TEST_F(TvUnitClient, StoresDumpsAndClearsItsMemory) {
    const std::string link = tempPath("link");
    const std::string logPath = tempPath("log");
    TvUnit unit({"--link", link, "--log", logPath});
    ASSERT_FALSE(unit.path().empty());
    connect(link);

    Bytes image(128);
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + 1);
    EXPECT_EQ(exchange({'W', 0x0D}), (Bytes{'W', 0x0D}));
    EXPECT_EQ(exchange(image), image);  // one echo per image byte

    EXPECT_EQ(exchange({'D'}), Bytes{'D'});
    EXPECT_TRUE(rs.writebyte(0x0D));
    Bytes dump = readAll(129);
    EXPECT_EQ(dump.front(), 0x0D);
    EXPECT_EQ(Bytes(dump.begin() + 1, dump.end()), image);

    // A client that closes and comes back is served on the same line.
    rs.close();
    ASSERT_TRUE(rs.open());
    EXPECT_EQ(exchange({'I', 0x0D}), (Bytes{'I', 0x0D}));
    EXPECT_EQ(exchange({'D'}), Bytes{'D'});
    EXPECT_TRUE(rs.writebyte(0x0D));
    dump = readAll(129);
    EXPECT_EQ(Bytes(dump.begin() + 1, dump.end()), Bytes(128, 0));
    rs.close();

    EXPECT_EQ(unit.stop(), 0);
    EXPECT_NE(::access(link.c_str(), F_OK), 0);  // link removed at exit

    // The log has one line per byte; every TX echo follows its RX.
    std::ifstream log(logPath);
    std::string line;
    long long last = 0;
    int rx = 0;
    int tx = 0;
    std::vector<std::string> firstLines;
    while (std::getline(log, line)) {
        std::istringstream fields(line);
        long long ns = 0;
        std::string direction;
        std::string hex;
        fields >> ns >> direction >> hex;
        EXPECT_GE(ns, last) << line;
        last = ns;
        (direction == "RX" ? rx : tx) += 1;
        EXPECT_LE(tx, rx + 128 * 2) << line;
        if (firstLines.size() < 4) firstLines.push_back(direction + " " + hex);
    }
    EXPECT_EQ(firstLines, (std::vector<std::string>{"RX 57", "TX 57", "RX 0D", "TX 0D"}));
    EXPECT_EQ(rx, 2 + 128 + 2 + 2 + 2);
    EXPECT_EQ(tx, rx + 128 + 128);
    ::unlink(logPath.c_str());
}

TEST_F(TvUnitClient, FaultOptionsChangeTheAnswers) {
    struct Case {
        std::vector<std::string> args;
        Bytes send;
        int expectReplies;
    };
    const Case cases[] = {
        {{"--silent"}, {'I'}, 0},
        {{"--double"}, {'I', 0x0D}, 4},
        {{"--stop-after", "2"}, {1, 2, 3, 4}, 2},
        {{"--flood", "5"}, {1}, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        TvUnit unit(c.args);
        connect(unit.path(), 200);
        for (uint8_t b : c.send) EXPECT_TRUE(rs.writebyte(b));
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        EXPECT_EQ(rs.rxcount(), c.expectReplies);
        rs.close();
    }
}

TEST_F(TvUnitClient, DelayHoldsBackTheAnswer) {
    TvUnit unit({"--delay", "100"});
    connect(unit.path());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(exchange({'x'}), Bytes{'x'});
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));
}

TEST_F(TvUnitClient, HangupAfterClosesTheLine) {
    TvUnit unit({"--hangup-after", "1"});
    connect(unit.path(), 300);
    EXPECT_EQ(exchange({'a'}), Bytes{'a'});
    EXPECT_EQ(unit.waitExit(), 0);
    uint8_t b = 0;
    EXPECT_FALSE(rs.readbyte(b));
    EXPECT_FALSE(rs.writebyte('b'));
}

TEST_F(TvUnitClient, WirePacesEachByteAtItsCharacterTime) {
    TvUnit unit({"--wire", "9600"});
    connect(unit.path());
    Bytes out(10);
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<uint8_t>(i);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(exchange(out), out);
    // 10 bytes there and 10 echoes back, 1.04 ms each at 9600: 20.8 ms at least.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20));
}

TEST_F(TvUnitClient, CorruptByteKeepsOneStoredByteWrongBehindRightEchoes) {
    TvUnit unit({"--corrupt-byte", "127"});
    connect(unit.path());
    Bytes image(128);
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(exchange({'W', 0x0D}), (Bytes{'W', 0x0D}));
    EXPECT_EQ(exchange(image), image);
    EXPECT_EQ(exchange({'D'}), Bytes{'D'});
    EXPECT_TRUE(rs.writebyte(0x0D));
    const Bytes dump = readAll(129);
    Bytes expected = image;
    expected[127] ^= 0xFF;
    EXPECT_EQ(Bytes(dump.begin() + 1, dump.end()), expected);
}

TEST(TvUnitOptions, ValuesOutOfRangeAreUsageErrors) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--corrupt-byte", "128"}, {"--wire", "0"}, {"--wire=abc"}}) {
        SCOPED_TRACE(args.front());
        TvUnit unit(args);
        EXPECT_EQ(unit.waitExit(), 2);
    }
}

}  // namespace
}  // namespace tv
