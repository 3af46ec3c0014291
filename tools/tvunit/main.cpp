// tvunit: plays a Tarvex unit on a pseudo-terminal so that the configurator
// can be tried and tested without hardware. See usage() for what it does.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "os/file_size_limit.h"
#include "unit_protocol.h"

namespace {

const char* const kUsage = R"(Usage: tvunit [options]

Plays a Tarvex unit on a pseudo-terminal. The first line on standard output is
the path of the terminal's slave side; open it (or the --link path) as the
serial port, e.g. TVCONFIG_COM1=<path> for the port "com1".

The unit answers every byte it receives with one byte, an echo of it, and keeps
an eight-channel memory of 128 bytes (zero at start):
  "W" CR, then 128 bytes   stores the 128 bytes as the memory
  "D" CR                   after the echo of the CR, sends the 128 memory bytes
  "I" CR                   clears the memory
It runs until SIGTERM or SIGINT, serves a client that opens the terminal at any
time, and goes on serving when the client closes and reopens it.

Options:
  --link PATH        make PATH a symbolic link to the terminal (replacing an
                     existing link); removed at exit
  --silent           never answer
  --double           answer every byte with two echoes
  --stop-after N     answer the first N bytes received, then fall silent
  --hangup-after N   after answering the Nth byte (and 50 ms for it to be
                     read), close the line and exit
  --flood N          right after the first answer, send N unasked bytes
                     (0x00, 0x01, ... counting up)
  --delay MS         wait MS milliseconds before each answer
  --log FILE         write one line per byte received and sent:
                     "<monotonic ns> RX 57" or "<monotonic ns> TX 57" (hex)
  --help             show this text
)";

struct Options {
    std::string link;
    bool silent = false;
    bool twice = false;
    long stopAfter = -1;
    long hangupAfter = -1;
    long flood = 0;
    long delayMs = 0;
    std::string log;
};

std::optional<long> number(const char* text) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 0) return std::nullopt;
    return value;
}

// Parses the command line; nullopt after printing why it cannot be used.
std::optional<Options> parse(int argc, char** argv, bool& help) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const auto count = [&](long& out) {
            const char* text = value();
            const auto n = text ? number(text) : std::nullopt;
            if (n) out = *n;
            return n.has_value();
        };
        bool ok = true;
        if (arg == "--help") {
            help = true;
        } else if (arg == "--silent") {
            o.silent = true;
        } else if (arg == "--double") {
            o.twice = true;
        } else if (arg == "--link" || arg == "--log") {
            const char* text = value();
            ok = text != nullptr;
            if (ok) (arg == "--link" ? o.link : o.log) = text;
        } else if (arg == "--stop-after") {
            ok = count(o.stopAfter);
        } else if (arg == "--hangup-after") {
            ok = count(o.hangupAfter);
        } else if (arg == "--flood") {
            ok = count(o.flood);
        } else if (arg == "--delay") {
            ok = count(o.delayMs);
        } else {
            std::fprintf(stderr, "tvunit: unknown option %s; see tvunit --help\n", arg.c_str());
            return std::nullopt;
        }
        if (!ok) {
            std::fprintf(
                stderr, "tvunit: %s needs a value (a whole number for counts); see tvunit --help\n",
                arg.c_str());
            return std::nullopt;
        }
    }
    return o;
}

class Unit {
public:
    static constexpr int kLingerMs = 50;

    Unit(const Options& options, int master, int signals, FILE* log)
        : m_options(options), m_master(master), m_signals(signals), m_log(log) {}

    // Serves until a signal or the hang-up; returns the exit status.
    int run() {
        for (;;) {
            pollfd fds[2] = {{m_master, POLLIN, 0}, {m_signals, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                std::perror("tvunit: poll");
                return 1;
            }
            if (fds[1].revents & POLLIN) return 0;
            if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            uint8_t buf[256];
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n <= 0) {
                // A slave descriptor is held open, so this is transient; don't spin.
                if (!pause(10)) return 0;
                continue;
            }
            for (ssize_t i = 0; i < n; ++i) {
                if (!serve(buf[i])) return 0;
            }
        }
    }

private:
    // Handles one received byte; false when the unit is to stop.
    bool serve(uint8_t b) {
        note("RX", b);
        ++m_received;
        const std::vector<uint8_t> reply = m_protocol.receive(b);
        const bool answering =
            !m_options.silent && (m_options.stopAfter < 0 || m_received <= m_options.stopAfter);
        if (answering) {
            if (m_options.delayMs > 0 && !pause(static_cast<int>(m_options.delayMs))) return false;
            send(reply.front());
            if (m_options.twice) send(reply.front());
            for (size_t i = 1; i < reply.size(); ++i) send(reply[i]);
            if (m_options.flood > 0 && !m_flooded) {
                m_flooded = true;
                sendFlood(m_options.flood);
            }
        }
        if (m_options.hangupAfter >= 0 && m_received >= m_options.hangupAfter) {
            // A hang-up throws away what the client has not read yet: give the
            // last answer a moment to be read before the master closes.
            pause(kLingerMs);
            return false;
        }
        return true;
    }

    void send(uint8_t b) {
        for (;;) {
            const ssize_t n = ::write(m_master, &b, 1);
            if (n == 1) break;
            if (n < 0 && errno == EINTR) continue;
            // The client isn't reading and the line is full: wait a while for room.
            pollfd p{m_master, POLLOUT, 0};
            if (::poll(&p, 1, 1000) <= 0) return;  // dropped
        }
        note("TX", b);
    }

    // N bytes counting up from 0x00, in blocks, as fast as the line takes them.
    void sendFlood(long count) {
        uint8_t block[4096];
        for (long done = 0; done < count;) {
            const long n = std::min<long>(count - done, static_cast<long>(sizeof block));
            for (long i = 0; i < n; ++i) block[i] = static_cast<uint8_t>(done + i);
            long sent = 0;
            while (sent < n) {
                const ssize_t w = ::write(m_master, block + sent, static_cast<size_t>(n - sent));
                if (w > 0) {
                    sent += w;
                    continue;
                }
                if (w < 0 && errno == EINTR) continue;
                pollfd p{m_master, POLLOUT, 0};
                if (::poll(&p, 1, 1000) <= 0) return;  // the client stopped reading
            }
            if (m_log != nullptr) {
                for (long i = 0; i < n; ++i) noteUnflushed("TX", block[i]);
                std::fflush(m_log);
            }
            done += n;
        }
    }

    // Sleeps `ms`; false when a stop signal came meanwhile.
    bool pause(int ms) {
        pollfd p{m_signals, POLLIN, 0};
        return ::poll(&p, 1, ms) == 0;
    }

    void note(const char* direction, uint8_t b) {
        if (m_log == nullptr) return;
        noteUnflushed(direction, b);
        std::fflush(m_log);
    }

    void noteUnflushed(const char* direction, uint8_t b) {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        const long long ns = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
        std::fprintf(m_log, "%lld %s %02X\n", ns, direction, b);
    }

    const Options& m_options;
    int m_master;
    int m_signals;
    FILE* m_log;
    tv::UnitProtocol m_protocol;
    long m_received = 0;
    bool m_flooded = false;
};

}  // namespace

int main(int argc, char** argv) {
    tv::ignoreFileSizeLimitSignal();  // a --log past a file-size limit fails, not kills
    bool help = false;
    const auto options = parse(argc, argv, help);
    if (!options) return 2;
    if (help) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    // The stop signals arrive through a descriptor, so the loop can poll for them.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    sigprocmask(SIG_BLOCK, &stops, nullptr);
    const int signals = ::signalfd(-1, &stops, SFD_CLOEXEC);

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (signals < 0 || master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        std::perror("tvunit: cannot make a pseudo-terminal");
        return 1;
    }
    const std::string slavePath = ::ptsname(master);
    // Held open for the whole run: without it the line hangs up whenever the
    // client closes, and reads on the master fail until the next client comes.
    const int slave = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (slave < 0 || ::tcgetattr(slave, &tio) != 0) {
        std::perror("tvunit: cannot open the terminal's slave side");
        return 1;
    }
    ::cfmakeraw(&tio);  // no echo, no line editing: bytes pass as they are
    ::tcsetattr(slave, TCSANOW, &tio);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    FILE* log = nullptr;
    if (!options->log.empty()) {
        log = std::fopen(options->log.c_str(), "w");
        if (log == nullptr) {
            std::fprintf(stderr, "tvunit: cannot write the log %s: %s\n", options->log.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }
    if (!options->link.empty()) {
        // An old link is replaced; anything else at that path is left alone.
        struct stat old {};
        if (::lstat(options->link.c_str(), &old) == 0) {
            if (!S_ISLNK(old.st_mode)) {
                std::fprintf(stderr,
                             "tvunit: %s exists and is not a link; choose another --link path\n",
                             options->link.c_str());
                return 1;
            }
            ::unlink(options->link.c_str());
        }
        if (::symlink(slavePath.c_str(), options->link.c_str()) != 0) {
            std::fprintf(stderr, "tvunit: cannot make the link %s: %s\n", options->link.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }
    std::printf("%s\n", slavePath.c_str());
    std::fflush(stdout);

    Unit unit(*options, master, signals, log);
    const int status = unit.run();

    ::close(master);
    ::close(slave);
    if (!options->link.empty()) ::unlink(options->link.c_str());
    if (log != nullptr) std::fclose(log);
    return status;
}
