#include "tools/tvprog/prog_commands.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "synth/number_format.h"
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

// Opens the port, reads away what is still coming and sends D CR; kProgOk when
// the unit answered the D, else the status to end with.
int openAndDump(ProgSession& session, const ProgLine& line,
                const std::atomic<bool>& stopRequested) {
    if (!openOrSay(session, line.port)) return kProgPortClosed;
    if (!session.readAwayUntilQuiet()) return stopped(stopRequested, "the reading away");
    if (session.link().dump()) return kProgOk;
    const int status = stopped(stopRequested, "the " + line.command);
    if (status == kProgNoAnswer) std::cerr << "tvprog: the unit did not answer the D\n";
    return status;
}

// Collects the dump's bytes until the line is lost, the time is up or, when
// `untilQuiet`, a dump's worth has come and the line has gone quiet (as the
// read-back collects); kProgOk or the status of a stop.
int collectDump(ProgSession& session, const ProgLine& line, bool untilQuiet,
                const std::atomic<bool>& stopRequested) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(line.seconds));
    const DeviceLink& link = session.link();
    int32_t seen = link.BufferPos;
    auto quietFrom = Clock::now();
    // A lost line brings nothing more: no use waiting out the time.
    while (!session.lineLost()) {
        if (link.BufferPos != seen) {
            seen = link.BufferPos;
            quietFrom = Clock::now();
        }
        const bool enough = untilQuiet && seen >= kDumpBytes;
        const auto until = enough ? std::min(deadline, quietFrom + session.quietTime()) : deadline;
        const auto outcome = session.waiter().waitForEvents(until);
        if (outcome == EventWaiter::Outcome::ShuttingDown)
            return stopped(stopRequested, "the dump");
        if (outcome == EventWaiter::Outcome::TimedOut && Clock::now() >= until &&
            (!enough || link.BufferPos == seen)) {
            break;
        }
    }
    return kProgOk;
}

// kProgOk when the unit's memory came; else says how much did and gives 5.
int memoryCame(ProgSession& session, const ProgLine& line) {
    const DeviceLink& link = session.link();
    // The zeros of an empty buffer are no dump: only a memory that came is.
    if (link.BufferPos >= kDumpBytes) return kProgOk;
    std::cerr << "tvprog: the unit's memory did not come: " << link.BufferPos << " of "
              << kDumpBytes << " bytes (the echoes of D and CR, then " << DeviceLink::kImageSize
              << " bytes of memory) arrived"
              << (session.lineLost() ? " before the line was lost"
                                     : " in " + secondsText(line.seconds) + " s")
              << '\n';
    return kProgNoAnswer;
}

// The dump's own output, then what the unit still sends read away, so that it
// is not taken by the next run for the reply to its first byte.
int endDump(ProgSession& session, int status, const std::atomic<bool>& stopRequested) {
    std::fflush(stdout);
    std::cout.flush();
    if (status != kProgInterrupted && !session.readAwayUntilQuiet()) {
        return stopped(stopRequested, "the reading away after the dump");
    }
    return status;
}

void printDump(const ProgLine& line, ProgSession& session) {
    const DeviceLink& link = session.link();
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
}

}  // namespace

int runDump(const ProgLine& line, const std::atomic<bool>& stopRequested) {
    ProgSession session(stopRequested, std::cerr);
    if (const int status = openAndDump(session, line, stopRequested)) {
        return status == kProgPortClosed ? status : endDump(session, status, stopRequested);
    }
    // Nothing marks the end of a dump: collect for the time asked.
    int status = collectDump(session, line, false, stopRequested);
    if (status == kProgOk) status = memoryCame(session, line);
    if (status == kProgOk) printDump(line, session);
    return endDump(session, status, stopRequested);
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
