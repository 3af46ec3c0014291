// tvprog's Write against units at a real line's pace (tvunit --wire 9600): one
// unit, and four at once, a thread per port; and the whole bench cycle
// (`write --verify`, process start to exit) beside the line's time for it. At
// 9600 bit/s the Write's 130 round trips need 130 x 2 bytes x 10 bits / 9600 =
// 270.8 ms. The Write phase is timed twice: by tvprog's own line ("wrote 130 of
// 130 bytes ... in T s", from before the W to its last reply, so without the
// port's opening and the reading away of stale bytes), and at the unit, from its
// byte log (the W received to the last echo sent).
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "device/header_export.h"
#include "tests/support/child_process.h"
#include "tests/support/unit_process.h"

namespace {

using tv::testing::UnitProcess;

constexpr double kPhysicsMs = 130.0 * 2 * 10 * 1000 / 9600;
// A bench cycle, `write --verify`: the Write, then D, its reply, CR, the CR's echo
// and the 128 bytes of memory: 270.8 + 137.5 = 408.3 ms of line time.
constexpr double kCyclePhysicsMs = kPhysicsMs + 132.0 * 10 * 1000 / 9600;

struct Run {
    std::string out;
    double wallMs = 0;
    int status = -1;
};

Run tvprog(const std::vector<std::string>& args) {
    Run run;
    const auto start = std::chrono::steady_clock::now();
    const tv::test::ChildRun child = tv::test::runToEnd(TVPROG_PATH, args);
    run.wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.out = child.out;
    run.status = child.end.exited() ? child.end.exitCode : -1;
    return run;
}

// Every "wrote 130 of 130 bytes ... in T s" of the output, in ms.
std::vector<double> writeTimes(const std::string& out) {
    std::vector<double> ms;
    const std::regex line(R"(wrote 130 of 130 bytes.* in ([0-9.]+) s)");
    for (std::sregex_iterator i(out.begin(), out.end(), line), end; i != end; ++i) {
        ms.push_back(std::stod((*i)[1]) * 1000);
    }
    return ms;
}

// At the unit: from the last W received to the echo sent after it 129 bytes later.
double unitWriteMs(const UnitProcess& unit) {
    const auto log = unit.log();
    for (size_t i = log.size(); i-- > 0;) {
        if (!log[i].received || log[i].byte != 0x57) continue;
        int received = 0;
        for (size_t k = i; k < log.size(); ++k) {
            if (log[k].received) ++received;
            if (!log[k].received && received == 130) {
                return static_cast<double>(log[k].ns - log[i].ns) / 1e6;
            }
        }
    }
    return -1;
}

// The same handshake without tvprog: the terminal opened raw here, each byte
// written and its echo awaited; the floor that the pty, the scheduler and
// tvunit set at this moment. -1 when an echo did not come.
double bareWriteMs(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    if (fd < 0 || ::tcgetattr(fd, &tio) != 0) return -1;
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    std::vector<uint8_t> bytes{'W', 0x0D};
    for (int i = 0; i < 128; ++i) bytes.push_back(static_cast<uint8_t>(i * 7 + 1));
    const auto start = std::chrono::steady_clock::now();
    for (uint8_t b : bytes) {
        pollfd p{fd, POLLIN, 0};
        uint8_t echo = 0;
        if (::write(fd, &b, 1) != 1 || ::poll(&p, 1, 1000) != 1 || ::read(fd, &echo, 1) != 1) {
            ::close(fd);
            return -1;
        }
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    ::close(fd);
    return ms;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void summary(const char* what, const std::vector<double>& v) {
    std::printf("  %-44s median %7.1f ms  best %7.1f  worst %7.1f  (%+.1f %% over the line)\n",
                what, median(v), *std::min_element(v.begin(), v.end()),
                *std::max_element(v.begin(), v.end()), (median(v) / kPhysicsMs - 1) * 100);
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::atoi(argv[1]) : 7;
    const std::string dir = "/tmp/bench-tvprog-" + std::to_string(::getpid());
    ::mkdir(dir.c_str(), 0700);
    tv::ChannelTable table;
    for (size_t c = 0; c < tv::ChannelTable::kChannels; ++c) {
        table.InitReg[c] = 0x09F993;
        table.RefReg[c] = static_cast<int32_t>(0x000C80 + c);
        table.NReg[c] = 0x026901;
        table.FuncReg[c] = 0x09F992;
    }
    const std::string header = dir + "/20261209_1200param.h";
    std::ofstream(header, std::ios::binary) << tv::headerText(table, std::tm{});

    std::vector<std::unique_ptr<UnitProcess>> units;
    for (int i = 0; i < 4; ++i) {
        units.push_back(std::make_unique<UnitProcess>(std::vector<std::string>{"--wire", "9600"},
                                                      dir + "/unit" + std::to_string(i) + ".log"));
    }

    std::vector<double> bare, one, oneAtUnit, oneWall, four, fourAtUnit, fourWall, cycle;
    for (int r = 0; r < repetitions; ++r) {
        // The whole bench cycle, process start to exit.
        const Run verified = tvprog({"write", "--verify", "--port", units[0]->path(), header});
        if (verified.status != 0) {
            std::fprintf(stderr, "write --verify: status %d\n%s", verified.status,
                         verified.out.c_str());
            return 1;
        }
        cycle.push_back(verified.wallMs);

        bare.push_back(bareWriteMs(units[0]->path()));
        const Run single = tvprog({"write", "--port", units[0]->path(), header});
        const auto t = writeTimes(single.out);
        if (single.status != 0 || t.size() != 1) {
            std::fprintf(stderr, "one unit: status %d\n%s", single.status, single.out.c_str());
            return 1;
        }
        one.push_back(t[0]);
        oneAtUnit.push_back(unitWriteMs(*units[0]));
        oneWall.push_back(single.wallMs);

        std::vector<std::string> args{"write"};
        for (const auto& u : units) args.insert(args.end(), {"--port", u->path()});
        args.push_back(header);
        const Run all = tvprog(args);
        const auto ts = writeTimes(all.out);
        if (all.status != 0 || ts.size() != 4) {
            std::fprintf(stderr, "four units: status %d\n%s", all.status, all.out.c_str());
            return 1;
        }
        four.push_back(*std::max_element(ts.begin(), ts.end()));
        double slowest = 0;
        for (const auto& u : units) slowest = std::max(slowest, unitWriteMs(*u));
        fourAtUnit.push_back(slowest);
        fourWall.push_back(all.wallMs);
    }
    std::printf("Write, 130 round trips, tvunit --wire 9600; the line needs %.1f ms; %d runs\n",
                kPhysicsMs, repetitions);
    summary("one unit, bare handshake on the pty (no tvprog)", bare);
    summary("one unit, tvprog's line (W to last reply)", one);
    summary("one unit, at the unit (W in to last echo out)", oneAtUnit);
    summary("four at once, slowest port, tvprog's lines", four);
    summary("four at once, slowest port, at the units", fourAtUnit);
    std::printf("  tvprog / bare handshake: %.3f (tvprog's line)\n", median(one) / median(bare));
    std::printf("  four at once / one: %.3f (tvprog's lines), %.3f (at the units)\n",
                median(four) / median(one), median(fourAtUnit) / median(oneAtUnit));
    std::printf(
        "  whole process (open, reading away, write, reading away, close): one %.0f ms, "
        "four %.0f ms (medians)\n",
        median(oneWall), median(fourWall));
    std::printf(
        "Bench cycle, tvprog write --verify, process start to exit; the line needs %.1f ms\n",
        kCyclePhysicsMs);
    std::printf("  median %.1f ms  best %.1f  worst %.1f: %.3f x the line (target 1.15)\n",
                median(cycle), *std::min_element(cycle.begin(), cycle.end()),
                *std::max_element(cycle.begin(), cycle.end()), median(cycle) / kCyclePhysicsMs);
    units.clear();
    std::system(("rm -rf " + dir).c_str());
    return 0;
}
