// A Write's handshake against tvunit's wire pace: "W", CR and the 128-byte
// image, each byte written on the terminal and its echo awaited before the
// next, as the configurator does. At 9600 bit/s a real line needs
// 130 round trips x 2 bytes x 10 bits / 9600 = 270.8 ms; the figure beside it
// shows what the pty, the scheduler and tvunit add.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

// tvunit as a child process; its terminal opened raw on this side.
class WiredUnit {
public:
    explicit WiredUnit(long baud) {
        std::vector<std::string> args{TVUNIT_PATH};
        if (baud > 0) args.insert(args.end(), {"--wire", std::to_string(baud)});
        spawn(args);
        m_fd = ::open(m_path.c_str(), O_RDWR | O_NOCTTY);
        termios tio{};
        if (m_fd < 0 || ::tcgetattr(m_fd, &tio) != 0) throw std::runtime_error("no terminal");
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
    }
    ~WiredUnit() {
        if (m_fd >= 0) ::close(m_fd);
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    // Writes `b` and waits up to a second for its echo; false without one.
    bool roundTrip(uint8_t b) {
        if (::write(m_fd, &b, 1) != 1) return false;
        pollfd p{m_fd, POLLIN, 0};
        uint8_t echo = 0;
        return ::poll(&p, 1, 1000) == 1 && ::read(m_fd, &echo, 1) == 1 && echo == b;
    }

private:
    void spawn(std::vector<std::string>& args) {
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int out[2];
        if (::pipe(out) != 0) throw std::runtime_error("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        if (posix_spawn(&m_pid, TVUNIT_PATH, &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\n') m_path += c;
        ::close(out[0]);
    }

    pid_t m_pid = -1;
    int m_fd = -1;
    std::string m_path;
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
