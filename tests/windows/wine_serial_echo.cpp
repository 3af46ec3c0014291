// wine_serial_echo: the serial component on a real port, for runs under Wine
// against tvunit's pseudo-terminal mapped as COM1. Opens the port, raises DTR
// and RTS, sends bytes one at a time and reads each echo back once the monitor
// has announced it, and checks that a read with nothing to come ends
// at its time-out, and that close ends the monitor's wait. Prints one line per
// check; exit status 0 when all passed.
#include <chrono>
#include <cstdio>
#include <string>

#include "serial/post_queue.h"
#include "serial/rs232c.h"

namespace {

using Clock = std::chrono::steady_clock;

int failures = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!ok) ++failures;
}

long msSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

}  // namespace

int main(int argc, char** argv) {
    const std::string port = argc > 1 ? argv[1] : "com1";
    tv::PostQueue queue;
    tv::Trs232c rs(queue.factory());
    rs.portname = port;
    rs.rxtimeout = 2000;
    int announced = 0;
    rs.OnRXCHAR = [&](tv::Trs232c&) { ++announced; };
    rs.OnOpen = [](tv::Trs232c& sender) {
        check(sender.setdtr(true) && sender.setrts(true), "DTR and RTS raised");
    };
    rs.OnClose = [](tv::Trs232c& sender) {
        check(sender.setdtr(false) && sender.setrts(false), "DTR and RTS dropped");
    };
    if (!rs.open()) {
        check(false, "open " + port + ": " + rs.lastError().message);
        return 1;
    }
    check(true, "open " + port);

    // Each echo is announced by the monitor before it is read: the handler
    // runs here, on this thread, as the window's would.
    for (const uint8_t sent : {uint8_t{0x55}, uint8_t{0xAA}, uint8_t{0x0D}}) {
        const auto start = Clock::now();
        const int before = announced;
        const bool wrote = rs.writebyte(sent);
        // An announcement can be a late one for the byte before (drivers
        // may repeat them); what counts is one that comes with the byte queued.
        while (wrote && (announced == before || rs.rxcount() == 0) && msSince(start) < 2000) {
            queue.waitAndRun(std::chrono::milliseconds(5));
        }
        const long announcedMs = msSince(start);
        const int32_t queued = rs.rxcount();
        uint8_t echo = 0;
        const bool got = wrote && rs.readbyte(echo);
        char text[96];
        std::snprintf(text, sizeof text,
                      "byte %02X: announced in %ld ms, %d queued, echoed as %02X", sent,
                      announcedMs, queued, echo);
        check(got && announced > before && queued == 1 && echo == sent, text);
    }
    // A read waiting when the byte comes: it completes the overlapped request.
    const auto start = Clock::now();
    uint8_t echo = 0;
    const bool direct = rs.writebyte(0x33) && rs.readbyte(echo);
    check(direct && echo == 0x33,
          "round trip of a byte read while it arrives: " + std::to_string(msSince(start)) + " ms");
    check(rs.rxcount() == 0, "nothing left queued");

    rs.rxtimeout = 300;
    const auto readStart = Clock::now();
    uint8_t none = 0;
    const bool readSomething = rs.readbyte(none);
    const long readMs = msSince(readStart);
    check(!readSomething && readMs >= 250 && readMs < 1500,
          "a read with nothing to come ends at its time-out (" + std::to_string(readMs) + " ms)");

    const auto closeStart = Clock::now();
    const bool closed = rs.close();
    const long closeMs = msSince(closeStart);
    check(closed && closeMs < 1000,
          "close ends the monitor's wait (" + std::to_string(closeMs) + " ms)");
    check(!rs.setdtr(true) && rs.rxcount() == -1, "closed: lines and queue unavailable");
    return failures == 0 ? 0 : 1;
}
