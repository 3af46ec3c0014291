// tvprog against tvunit on a pseudo-terminal: what reaches the unit, what comes
// back, and the exit status of each way a command can end.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "device/header_export.h"
#include "os/sha256.h"
#include "tests/support/child_process.h"
#include "tests/support/unit_process.h"

namespace tv {
namespace {

using testing::UnitProcess;

struct ProgRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs tvprog to its end; with `signal`, sends it that signal after half a second.
ProgRun tvprog(const std::vector<std::string>& args, int signal = 0) {
    using test::ChildProcess;
    ChildProcess child(TVPROG_PATH, args,
                       {ChildProcess::Output::Capture, ChildProcess::Output::Capture, {}});
    if (signal != 0 && child.started()) {
        ::usleep(500 * 1000);
        child.sendSignal(signal);
    }
    ProgRun run;
    run.status = child.wait().exitCode;
    run.out = child.output();
    run.err = child.errors();
    return run;
}

// Every file the tests make (headers, unit logs, run logs) goes into one folder
// of this process, removed when the tests end.
const std::string& scratchFolder() {
    static const std::string folder = [] {
        const std::string path = ::testing::TempDir() + "tvprog-" + std::to_string(::getpid());
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

std::string scratch(const std::string& name) { return scratchFolder() + "/" + name; }

class ScratchCleanup : public ::testing::Environment {
public:
    void TearDown() override { std::filesystem::remove_all(scratchFolder()); }
};
const auto* const kScratchCleanup = ::testing::AddGlobalTestEnvironment(new ScratchCleanup);

// A table with a different word in every place, exported by "save"'s own code.
ChannelTable sampleTable() {
    ChannelTable t;
    for (size_t c = 0; c < ChannelTable::kChannels; ++c) {
        const auto word = [&](int k) { return static_cast<int32_t>(0x010203 * (4 * c + k + 1)); };
        t.InitReg[c] = word(0);
        t.RefReg[c] = word(1);
        t.NReg[c] = word(2);
        t.FuncReg[c] = word(3);
        t.description[c] = "ch" + std::to_string(c);
    }
    return t;
}

// The bytes the unit must receive: W, CR, then per channel InitReg, RefReg,
// NReg, FuncReg, least significant byte first.
std::vector<int> expectedWrite(const ChannelTable& t) {
    std::vector<int> bytes{0x57, 0x0D};
    for (size_t c = 0; c < ChannelTable::kChannels; ++c) {
        for (const int32_t w : {t.InitReg[c], t.RefReg[c], t.NReg[c], t.FuncReg[c]}) {
            for (int i = 0; i < 4; ++i) bytes.push_back((w >> (8 * i)) & 0xFF);
        }
    }
    return bytes;
}

std::vector<int> received(const UnitProcess& unit) {
    std::vector<int> bytes;
    for (const auto& e : unit.log()) {
        if (e.received) bytes.push_back(e.byte);
    }
    return bytes;
}

class Tvprog : public ::testing::Test {
protected:
    void SetUp() override {
        m_header = scratch("param.h");
        std::ofstream(m_header, std::ios::binary) << headerText(m_table, std::tm{});
    }
    void TearDown() override { std::filesystem::remove(m_header); }

    ChannelTable m_table = sampleTable();
    std::string m_header;
};

TEST_F(Tvprog, WritesTheImageThatTheUnitThenDumps) {
    UnitProcess unit({}, scratch("log-ok"));
    const ProgRun write = tvprog({"write", "--port", unit.path(), m_header});
    ASSERT_EQ(write.status, 0) << write.err;
    EXPECT_NE(write.out.find("wrote 130 of 130 bytes"), std::string::npos) << write.out;
    EXPECT_EQ(write.out.find("latency timer"), std::string::npos) << write.out;
    const std::vector<int> image = expectedWrite(m_table);
    EXPECT_EQ(received(unit), image);

    // The dump's replies: the D's echo at position 0, the CR's at 1, then the
    // memory; the view starts at position 1.
    const ProgRun dump = tvprog({"dump", "--port", unit.path(), "--seconds", "0.3"});
    ASSERT_EQ(dump.status, 0) << dump.err;
    std::string view = "0D ";
    for (size_t i = 2; i < image.size(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X ", image[i]);
        view += hex;
        if (view.size() % 49 == 48) view += '\n';
    }
    EXPECT_EQ(dump.out.substr(0, view.size()), view);
    EXPECT_EQ(std::count(dump.out.begin(), dump.out.end(), '\n'), 17);

    const ProgRun raw = tvprog({"dump", "--port", unit.path(), "--raw", "--seconds", "0.3"});
    EXPECT_EQ(raw.out.substr(0, 9), "44 0D 03 ");  // D, CR, then channel 0's InitReg
    EXPECT_EQ(raw.out.size(), 130u * 3);           // two digits and a blank or line end each

    const ProgRun init = tvprog({"init", "--port", unit.path()});
    EXPECT_EQ(init.status, 0) << init.err;
    const std::vector<int> all = received(unit);
    EXPECT_EQ(std::vector<int>(all.end() - 2, all.end()), (std::vector<int>{0x49, 0x0D}));
}

TEST_F(Tvprog, EndsWithTheStatusOfWhatWentWrong) {
    const std::string badHeader = scratch("bad.h");
    std::ofstream(badHeader, std::ios::binary) << "//date\r\n//0  x\r\n  0x0000000G\r\n";
    const std::string wideWord = scratch("wide.h");
    std::ofstream(wideWord, std::ios::binary)
        << "//date\r\n//0  x\r\n  0xFFFFFFFF,    //InitReg\r\n";
    const std::string fifo = scratch("fifo.h");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        const char* what;
        std::vector<std::string> unitOptions;  // empty: no unit started
        std::vector<std::string> args;         // "PORT" stands for the unit's terminal
        int status;
        std::string err;
        size_t receivedBytes;
    };
    const std::vector<Case> cases = {
        {"silent unit",
         {"--silent"},
         {"write", "--port", "PORT", m_header},
         5,
         "stopped answering at byte 1 of 130 (the command letter W)",
         1},
        {"stops after the CR",
         {"--stop-after", "2"},
         {"write", "--port", "PORT", m_header},
         5,
         "byte 3 of 130 (channel 0, image byte 0, 0x03)",
         3},
        {"hangs up",
         {"--hangup-after", "20"},
         {"write", "--port", "PORT", m_header},
         5,
         "at byte 21 of 130",
         20},
        {"answers twice", {"--double"}, {"write", "--port", "PORT", m_header}, 0, "", 130},
        {"silent on dump", {"--silent"}, {"dump", "--port", "PORT"}, 5, "did not answer the D", 1},
        {"silent on init", {"--silent"}, {"init", "--port", "PORT"}, 5, "did not answer the I", 1},
        // A dump is done only when the memory came, not when the D was answered.
        {"dump: silent after the D",
         {"--stop-after", "1"},
         {"dump", "--port", "PORT", "--seconds", "0.2"},
         5,
         "memory did not come: 1 of 130 bytes",
         2},
        {"dump: slower than the collection",
         {"--delay", "400"},
         {"dump", "--port", "PORT", "--seconds", "0.1"},
         5,
         "1 of 130 bytes (the echoes of D and CR, then 128 bytes of memory) arrived in 0.1 s",
         2},
        {"dump: hangs up after the D",
         {"--hangup-after", "1"},
         {"dump", "--port", "PORT"},
         5,
         "The line to the unit was lost; check the cable and run tvprog again.",
         1},
        {"bad header",
         {},
         {"write", "--port", "/dev/null", badHeader},
         3,
         "bad.h: line 3: expected \"  0x\", 8 uppercase hexadecimal digits",
         0},
        {"no header", {}, {"write", "--port", "/dev/null", badHeader + "x"}, 3, "cannot read", 0},
        {"word above 24 bits",
         {},
         {"write", "--port", "/dev/null", wideWord},
         3,
         "wide.h: line 3: expected a latch word of 24 bits, 0x00000000 to 0x00FFFFFF, not "
         "0xFFFFFFFF",
         0},
        // Refused at once: none of them may block or fill the memory.
        {"FIFO without writer", {}, {"write", "--port", "/dev/null", fifo}, 3, "a FIFO", 0},
        {"/dev/zero",
         {},
         {"write", "--port", "/dev/null", "/dev/zero"},
         3,
         "cannot read /dev/zero: a device, not a regular file",
         0},
        {"directory", {}, {"write", "--port", "/dev/null", "/"}, 3, "/: a directory", 0},
        {"no such port", {}, {"init", "--port", scratch("none")}, 4, "no such device", 0},
        {"not a terminal", {}, {"init", "--port", "/dev/null"}, 4, "did not open", 0},
        {"read: the memory does not come",
         {"--stop-after", "1"},
         {"read", "--port", "PORT", "--seconds", "0.2", scratch("never.h")},
         5,
         "memory did not come: 1 of 130 bytes",
         2},
        {"read on two ports", {}, {"read", "--port", "a", "--port", "b"}, 2, "one --port", 0},
        {"no command", {}, {"--port", "/dev/null"}, 2, "no command", 0},
        {"write without file", {}, {"write", "--port", "/dev/null"}, 2, "one HEADER", 0},
        {"raw on write", {}, {"write", "--raw", "--port", "x", m_header}, 2, "belong to dump", 0},
        {"a port twice",
         {},
         {"init", "--port", "/dev/null", "--port", "/dev/null"},
         2,
         "--port /dev/null is given twice",
         0},
        {"dump on two ports", {}, {"dump", "--port", "a", "--port", "b"}, 2, "one --port", 0},
        {"--verify on init", {}, {"init", "--verify", "--port", "x"}, 2, "belongs to write", 0},
        {"--seconds on write",
         {},
         {"write", "--seconds", "1", "--port", "x", m_header},
         2,
         "also to verify and write --verify",
         0},
        {"ports given a port", {}, {"ports", "--port", "x"}, 2, "ports takes no --port", 0},
        {"tsv on write", {}, {"write", "--tsv", "--port", "x", m_header}, 2, "belongs to ports", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<UnitProcess> unit;
        std::vector<std::string> args = c.args;
        if (!c.unitOptions.empty()) {
            unit = std::make_unique<UnitProcess>(c.unitOptions, scratch("log"));
            for (std::string& a : args) {
                if (a == "PORT") a = unit->path();
            }
        }
        const ProgRun run = tvprog(args);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        if (unit) {
            EXPECT_EQ(received(*unit).size(), c.receivedBytes);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(scratch("never.h")));  // whole or not at all
    std::filesystem::remove(badHeader);
    std::filesystem::remove(wideWord);
    std::filesystem::remove(fifo);
}

TEST_F(Tvprog, EndsWithSixOnSigintAndSigterm) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        UnitProcess unit({"--silent"}, scratch("log"));
        const ProgRun run = tvprog({"write", "--port", unit.path(), m_header}, signal);
        EXPECT_EQ(run.status, 6) << run.err;
        EXPECT_NE(run.err.find("stopped by a signal"), std::string::npos) << run.err;
    }
}

// A unit slower than the dump's collection answers the CR while the next
// command starts: that late answer must not pass for the reply to the I, which
// this unit never answers.
TEST_F(Tvprog, ALateAnswerIsNoReplyToTheNextCommand) {
    UnitProcess unit({"--delay", "200", "--stop-after", "2"}, scratch("log-late"));
    EXPECT_EQ(tvprog({"dump", "--port", unit.path(), "--seconds", "0.05"}).status, 5);
    const ProgRun init = tvprog({"init", "--port", unit.path()});
    EXPECT_EQ(init.status, 5) << init.err;
    EXPECT_NE(init.err.find("did not answer the I"), std::string::npos) << init.err;
}

// The read-back after a write, and verify alone: the image found behind the
// unit's echoes, or the first channel and word that differ, with both values.
TEST_F(Tvprog, VerifyFindsTheImageOrNamesTheWordThatDiffers) {
    // NReg of channel 3 is 0x0F1E2D; its low byte is image byte 3 * 16 + 8 = 56.
    struct Case {
        const char* what;
        std::vector<std::string> unitOptions;
        std::vector<std::string> args;  // the port and the header are added
        int status;
        std::string text;  // on stdout when it holds, else on stderr
    };
    const std::vector<Case> cases = {
        {"write --verify",
         {},
         {"write", "--verify"},
         0,
         "The unit holds the channels last written."},
        {"one byte kept wrong",
         {"--corrupt-byte", "56"},
         {"write", "--verify"},
         7,
         "The unit differs at ch3 NReg: written 0x000F1E2D, held 0x000F1ED2."},
        {"verify a fresh unit",
         {},
         {"verify"},
         7,
         "The unit differs at ch0 InitReg: written 0x00010203, held 0x00000000."},
        {"memory never comes",
         {"--stop-after", "1"},
         {"verify", "--seconds", "0.3"},
         7,
         "The unit's reply ends before ch0 InitReg: written 0x00010203, only 1 of 128 bytes "
         "came."},
        {"silent unit", {"--silent"}, {"verify"}, 5, "did not answer the D"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UnitProcess unit(c.unitOptions, scratch("log-verify"));
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--port", unit.path(), m_header});
        const ProgRun run = tvprog(args);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.text), std::string::npos)
            << run.out << run.err;
    }
    // What one run wrote, the next verifies without writing.
    UnitProcess unit({}, scratch("log-verify"));
    ASSERT_EQ(tvprog({"write", "--port", unit.path(), m_header}).status, 0);
    const ProgRun verify = tvprog({"verify", "--port", unit.path(), m_header});
    EXPECT_EQ(verify.status, 0) << verify.err;
    EXPECT_EQ(received(unit).size(), 130u + 2u);  // the write, then D and CR
}

std::vector<std::string> fileLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A unit read into a header programs the next unit with the same image; tvcalc
// decodes that header; the log names the digest of what was written.
TEST_F(Tvprog, ReadsAUnitIntoAHeaderThatProgramsTheNext) {
    UnitProcess first({}, scratch("log-r1")), second({}, scratch("log-r2"));
    ASSERT_EQ(tvprog({"write", "--port", first.path(), m_header}).status, 0);
    const std::string out = scratch("read.h"), log = scratch("read.csv");
    const ProgRun read = tvprog({"read", "--port", first.path(), "--log", log, out});
    ASSERT_EQ(read.status, 0) << read.err;
    ASSERT_EQ(tvprog({"write", "--port", second.path(), out}).status, 0);
    EXPECT_EQ(received(second), expectedWrite(m_table));
    EXPECT_EQ(test::runToEnd(TVCALC_PATH, {"--decode-header", out}).end.exitCode, 0);
    const std::vector<std::string> lines = fileLines(log);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("," + out + "," + sha256Hex(fileText(out)) + ",read,ok,2,"),
              std::string::npos)
        << lines[0];
    // Without OUT, to standard output.
    const ProgRun shown = tvprog({"read", "--port", second.path()});
    EXPECT_NE(shown.out.find("\r\n//0  read from " + second.path() +
                             "\r\n  0x00010203,    //InitReg\r\n"),
              std::string::npos)
        << shown.out;
    EXPECT_EQ(std::count(shown.out.begin(), shown.out.end(), '\n'), 41);
}

// Three units at once, one silent: the others finish, its line says so, the
// status is its 5; one CSV line per port, appended.
TEST_F(Tvprog, SeveralPortsAtOnceEachWithItsLineAndLogEntry) {
    UnitProcess a({}, scratch("log-a")), b({}, scratch("log-b"));
    UnitProcess silent({"--silent"}, scratch("log-c"));
    const std::string log = scratch("bench.csv");
    std::filesystem::remove(log);
    // The log's time carries the local offset, half hours too.
    const char* oldTz = std::getenv("TZ");
    const std::string savedTz = oldTz ? oldTz : "";
    ::setenv("TZ", "IST-5:30", 1);
    const ProgRun run = tvprog({"write", "--port", a.path(), "--port", silent.path(), "--port",
                                b.path(), "--log", log, m_header});
    oldTz ? ::setenv("TZ", savedTz.c_str(), 1) : ::unsetenv("TZ");
    EXPECT_EQ(run.status, 5) << run.err;
    for (const UnitProcess* unit : {&a, &b}) {
        EXPECT_NE(run.out.find(unit->path() + ": ok: wrote 130 of 130 bytes"), std::string::npos)
            << run.out;
        EXPECT_EQ(received(*unit), expectedWrite(m_table));
    }
    EXPECT_NE(run.out.find(silent.path() + ": no reply at byte 1: the unit stopped answering"),
              std::string::npos)
        << run.out;

    std::string content;
    {
        std::ifstream in(m_header, std::ios::binary);
        content.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::string header =
        std::regex_replace(m_header, std::regex("[.^$|()\\[\\]*+?{}\\\\]"), "\\$&");
    const std::string stamp = R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\+05:30,)";
    const std::vector<std::string> lines = fileLines(log);
    ASSERT_EQ(lines.size(), 3u);
    for (const auto& [unit, tail] : {std::pair{&a, std::string(",write,ok,130,")},
                                     {&b, ",write,ok,130,"},
                                     {&silent, ",write,no reply at byte 1,1,"}}) {
        // No serial number yet: the field stays empty.
        const std::regex line(stamp + unit->path() + ",," + header + "," + sha256Hex(content) +
                              tail + R"(\d+\.\d{3}$)");
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [&](const std::string& l) { return std::regex_match(l, line); }),
                  1)
            << unit->path();
    }

    // Appended, never rewritten; init has no header.
    ASSERT_EQ(tvprog({"init", "--port", a.path(), "--log", log}).status, 0);
    const std::vector<std::string> after = fileLines(log);
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(after.begin(), after.begin() + 3), lines);
    EXPECT_TRUE(std::regex_search(after[3], std::regex(",,,,init,ok,2,")));
    std::filesystem::remove(log);
}

TEST_F(Tvprog, AFailedLogWriteEndsWithEight) {
    UnitProcess unit({}, scratch("log-full"));
    // Written and failed: the unit is programmed, the record is missing.
    const ProgRun full = tvprog({"write", "--port", unit.path(), "--log", "/dev/full", m_header});
    EXPECT_EQ(full.status, 8);
    EXPECT_NE(full.err.find("cannot write the log /dev/full"), std::string::npos) << full.err;
    EXPECT_EQ(received(unit).size(), 130u);
    // A log that cannot be opened: no unit is touched.
    const ProgRun none =
        tvprog({"write", "--port", unit.path(), "--log", scratch("no-dir") + "/log.csv", m_header});
    EXPECT_EQ(none.status, 8);
    EXPECT_NE(none.err.find("no unit was touched"), std::string::npos) << none.err;
    EXPECT_EQ(received(unit).size(), 130u);
}

// Opening the log never waits: a FIFO nobody reads is refused before the unit
// is touched; a read one is written to; a full one waits only until a signal;
// a symbolic link is appended to through the link, as a shell's >> does.
TEST_F(Tvprog, TheLogNeverHoldsTvprog) {
    const std::string fifo = scratch("log.fifo"), target = scratch("target.csv");
    const std::string link = scratch("link.csv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_symlink(target, link);
    enum class Reader { None, Reading, Full };
    struct Case {
        const char* what;
        std::string log;
        Reader reader;
        int status;
        std::string err;
        size_t receivedBytes;
    };
    const std::vector<Case> cases = {
        {"FIFO without reader", fifo, Reader::None, 8,
         "cannot open the log " + fifo + ": a FIFO (named pipe) that nobody reads", 0},
        {"FIFO with a reader", fifo, Reader::Reading, 0, "", 2},
        {"full FIFO, then SIGTERM", fifo, Reader::Full, 6, "stopped by a signal while waiting", 2},
        {"symbolic link", link, Reader::None, 0, "", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UnitProcess unit({}, scratch("log-fifo"));
        const int reader =
            c.reader == Reader::None ? -1 : ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (c.reader == Reader::Full) {
            const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            const std::string block(4096, 'x');
            while (::write(writer, block.data(), block.size()) > 0) {
            }
            ::close(writer);
        }
        const ProgRun run = tvprog({"init", "--port", unit.path(), "--log", c.log},
                                   c.reader == Reader::Full ? SIGTERM : 0);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        EXPECT_EQ(received(unit).size(), c.receivedBytes);
        if (c.reader == Reader::Reading) {
            char line[512] = {};
            EXPECT_GT(::read(reader, line, sizeof line), 0);
            EXPECT_NE(std::string(line).find(",init,ok,2,"), std::string::npos) << line;
        }
        if (reader >= 0) ::close(reader);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(fileLines(target).size(), 1u);
    // A reader that goes away while the unit is silent: the line cannot be
    // written, which is said (status 8), not a silent end by SIGPIPE.
    UnitProcess silent({"--silent"}, scratch("log-gone"));
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    test::ChildProcess child(
        TVPROG_PATH, {"init", "--port", silent.path(), "--log", fifo},
        {test::ChildProcess::Output::Capture, test::ChildProcess::Output::Capture, {}});
    ::usleep(500 * 1000);
    ::close(reader);
    EXPECT_EQ(child.wait().exitCode, 8);
    EXPECT_NE(child.errors().find("cannot write the log " + fifo), std::string::npos)
        << child.errors();
    std::filesystem::remove(fifo);
    std::filesystem::remove(link);
    std::filesystem::remove(target);
}

TEST_F(Tvprog, OneSignalStopsEveryPort) {
    UnitProcess a({"--silent"}, scratch("log-s1")), b({"--silent"}, scratch("log-s2"));
    const ProgRun run = tvprog({"write", "--port", a.path(), "--port", b.path(), m_header}, SIGINT);
    EXPECT_EQ(run.status, 6) << run.err;
    EXPECT_NE(run.out.find(a.path() + ": interrupted"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(b.path() + ": interrupted"), std::string::npos) << run.out;
}

// A unit that holds each reply 10 ms, as a USB adapter's latency timer does.
TEST_F(Tvprog, SlowRepliesEndTheSummaryWithTheLatencyHint) {
    UnitProcess unit({"--delay", "10"}, scratch("log-slow"));
    const ProgRun write = tvprog({"write", "--port", unit.path(), m_header});
    ASSERT_EQ(write.status, 0) << write.err;
    const size_t hint = write.out.find("\nEach reply took 1");
    ASSERT_NE(hint, std::string::npos) << write.out;
    EXPECT_NE(write.out.find("latency timer", hint), std::string::npos);
    EXPECT_EQ(write.out.back(), '\n');
}

// The machine's own listing: whatever it holds, a table of six columns.
TEST(TvprogPorts, ListsTheMachinesPortsAsATable) {
    const ProgRun run = tvprog({"ports", "--tsv"});
    EXPECT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.out.rfind("Port\tDevice\tDescription\tMaker\tVID:PID\tSerial\n", 0), 0u);
    std::istringstream rows(run.out);
    for (std::string row; std::getline(rows, row);) {
        EXPECT_EQ(std::count(row.begin(), row.end(), '\t'), 5) << row;
        EXPECT_NE(row.rfind("/dev/ttyS0\t", 0), 0u) << "com1 listed again";
    }
    EXPECT_EQ(run.out == "Port\tDevice\tDescription\tMaker\tVID:PID\tSerial\n",
              run.err.find("no serial ports found") != std::string::npos)
        << run.err;
}

TEST(TvprogHelp, ListsEveryExitStatus) {
    const ProgRun help = tvprog({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* line :
         {"  0  done", "  2  ", "  3  ", "  4  ", "  5  ", "  6  ", "  7  ", "  8  "}) {
        EXPECT_NE(help.out.find(line), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace tv
