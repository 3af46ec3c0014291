// A Write's handshake against tvunit's wire pace: "W", CR and the 128-byte
// image, each byte written on the terminal and its echo awaited before the
// next, as the configurator does. At 9600 bit/s a real line needs
// 130 round trips x 2 bytes x 10 bits / 9600 = 270.8 ms; the figure beside it
// shows what the pty, the scheduler and tvunit add.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/unit_launcher.h"

namespace {

// tvunit as a child process; its terminal opened raw on this side.
class WiredUnit {
public:
    explicit WiredUnit(long baud) : m_unit(optionsFor(baud)) {
        m_fd = ::open(m_unit.path().c_str(), O_RDWR | O_NOCTTY);
        termios tio{};
        if (m_fd < 0 || ::tcgetattr(m_fd, &tio) != 0) throw std::runtime_error("no terminal");
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
    }
    ~WiredUnit() {
        if (m_fd >= 0) ::close(m_fd);
    }

    // Writes `b` and waits up to a second for its echo; false without one.
    bool roundTrip(uint8_t b) {
        if (::write(m_fd, &b, 1) != 1) return false;
        pollfd p{m_fd, POLLIN, 0};
        uint8_t echo = 0;
        return ::poll(&p, 1, 1000) == 1 && ::read(m_fd, &echo, 1) == 1 && echo == b;
    }

private:
    static std::vector<std::string> optionsFor(long baud) {
        if (baud <= 0) return {};
        return {"--wire", std::to_string(baud)};
    }

    tv::test::UnitLauncher m_unit;  // stopped after the terminal is closed
    int m_fd = -1;
};

// Arg: the --wire baud rate, 0 for no pacing (the pty's own pace).
void BM_TvunitWirePaceWrite(benchmark::State& state) {
    const long baud = state.range(0);
    WiredUnit unit(baud);
    std::vector<uint8_t> bytes{'W', 0x0D};
    for (int i = 0; i < 128; ++i) bytes.push_back(static_cast<uint8_t>(i * 7 + 1));
    for (auto _ : state) {
        for (uint8_t b : bytes) {
            if (!unit.roundTrip(b)) {
                state.SkipWithError("tvunit gave no echo");
                return;
            }
        }
    }
    const double physicsMs = baud > 0 ? 130.0 * 2 * 10 * 1000 / static_cast<double>(baud) : 0;
    state.counters["physics_ms"] = physicsMs;
}
BENCHMARK(BM_TvunitWirePaceWrite)
    ->Arg(9600)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10)
    ->Repetitions(3);

}  // namespace

BENCHMARK_MAIN();
