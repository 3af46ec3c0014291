// tvprog against tvunit on a pseudo-terminal: what reaches the unit, what comes
// back, and the exit status of each way a command can end.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "device/header_export.h"
#include "unit_process.h"

extern char** environ;

namespace tv {
namespace {

using testing::UnitProcess;

struct ProgRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string drain(int fd) {
    std::string text;
    ::lseek(fd, 0, SEEK_SET);
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
    ::close(fd);
    return text;
}

ProgRun tvprog(std::vector<std::string> args) {
    args.insert(args.begin(), TVPROG_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int out = ::memfd_create("tvprog-out", 0);
    const int err = ::memfd_create("tvprog-err", 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    ProgRun run;
    pid_t pid = 0;
    if (posix_spawn(&pid, TVPROG_PATH, &actions, nullptr, argv.data(), environ) == 0) {
        int wstatus = 0;
        ::waitpid(pid, &wstatus, 0);
        run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = drain(out);
    run.err = drain(err);
    return run;
}

std::string scratch(const std::string& name) {
    return ::testing::TempDir() + "tvprog-" + std::to_string(::getpid()) + "-" + name;
}

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
        {"bad header",
         {},
         {"write", "--port", "/dev/null", badHeader},
         3,
         "bad.h: line 3: expected \"  0x\", 8 uppercase hexadecimal digits",
         0},
        {"no header", {}, {"write", "--port", "/dev/null", badHeader + "x"}, 3, "cannot read", 0},
        {"no such port", {}, {"init", "--port", scratch("none")}, 4, "no such device", 0},
        {"not a terminal", {}, {"init", "--port", "/dev/null"}, 4, "did not open", 0},
        {"no command", {}, {"--port", "/dev/null"}, 2, "no command", 0},
        {"write without file", {}, {"write", "--port", "/dev/null"}, 2, "one HEADER", 0},
        {"raw on write", {}, {"write", "--raw", "--port", "x", m_header}, 2, "belong to dump", 0},
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
    std::filesystem::remove(badHeader);
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
    for (const char* line : {"  0  done", "  2  ", "  3  ", "  4  ", "  5  ", "  6  "}) {
        EXPECT_NE(help.out.find(line), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace tv
