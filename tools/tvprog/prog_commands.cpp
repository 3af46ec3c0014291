#include "tools/tvprog/prog_commands.h"

#include <cstdio>
#include <iostream>

#include "os/hex_text.h"
#include "tools/tvprog/port_runs.h"
#include "tools/tvprog/prog_session.h"

namespace tv {

namespace {

// A dump is the echoes of the D and the CR, then the unit's memory.
constexpr int32_t kDumpBytes = 2 + DeviceLink::kImageSize;

bool openOrSay(ProgSession& session, const std::string& port) {
    if (session.open(port)) return true;
    std::cerr << "tvprog: " << session.openFailureReason() << "\n";
    return false;
}

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

int stopped(const std::atomic<bool>& stopRequested, const std::string& what) {
    if (stopRequested.load()) {
        std::cerr << "tvprog: stopped by a signal during " << what << '\n';
        return kProgInterrupted;
    }
    return kProgNoAnswer;
}

// Opens the port and sends `command`'s letter (dump or initialize); kProgOk when
// the unit answered it, else the status to end with.
int openAndAsk(ProgSession& session, const ProgLine& line, bool (DeviceLink::*command)(),
               const char* letter, const std::atomic<bool>& stopRequested) {
    if (!openOrSay(session, line.port)) return kProgPortClosed;
    session.discardReceived();
    if ((session.link().*command)()) return kProgOk;
    const int status = stopped(stopRequested, "the " + line.command);
    if (status == kProgNoAnswer)
        std::cerr << "tvprog: the unit did not answer the " << letter << '\n';
    return status;
}

}  // namespace

int runDump(const ProgLine& line, const std::atomic<bool>& stopRequested) {
    ProgSession session(stopRequested, std::cerr);
    if (const int status = openAndAsk(session, line, &DeviceLink::dump, "D", stopRequested)) {
        return status;
    }
    // Nothing marks the end of a dump: collect for the time asked.
    const auto collect = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(line.seconds));
    const auto deadline = std::chrono::steady_clock::now() + collect;
    // A lost line brings nothing more: no use waiting out the time.
    while (!session.lineLost()) {
        const auto outcome = session.waiter().waitForEvents(deadline);
        if (outcome == EventWaiter::Outcome::TimedOut) break;
        if (outcome == EventWaiter::Outcome::ShuttingDown)
            return stopped(stopRequested, "the dump");
    }
    const DeviceLink& link = session.link();
    // The zeros of an empty buffer are no dump: only a memory that came is.
    if (link.BufferPos < kDumpBytes) {
        std::cerr << "tvprog: the unit's memory did not come: " << link.BufferPos << " of "
                  << kDumpBytes << " bytes (the echoes of D and CR, then " << DeviceLink::kImageSize
                  << " bytes of memory) arrived"
                  << (session.lineLost() ? " before the line was lost"
                                         : " in " + secondsText(line.seconds) + " s")
                  << '\n';
        return kProgNoAnswer;
    }
    if (line.raw) {
        const int32_t count = std::min<int32_t>(link.BufferPos, DeviceLink::kBufferSize);
        for (int32_t i = 0; i < count; ++i) {
            std::cout << hexByte(link.DeviceBuffer[static_cast<size_t>(i)])
                      << ((i % 16 == 15 || i + 1 == count) ? "\n" : " ");
        }
    } else {
        session.link().viewBuffer();
        std::cout << session.view().bufferView();
    }
    return kProgOk;
}

int runWrite(const ProgLine& line, const std::atomic<bool>& stopRequested) {
    return runOnPorts(line, stopRequested);
}

int runVerify(const ProgLine& line, const std::atomic<bool>& stopRequested) {
    return runOnPorts(line, stopRequested);
}

int runInit(const ProgLine& line, const std::atomic<bool>& stopRequested) {
    return runOnPorts(line, stopRequested);
}

}  // namespace tv
