#include "tools/tvprog/dump_collection.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "device/dump_collector.h"
#include "device/unit_memory.h"

namespace tv {

namespace {

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

}  // namespace

int dumpStopped(const std::atomic<bool>& stopRequested, const std::string& what) {
    if (stopRequested.load()) {
        std::cerr << "tvprog: stopped by a signal during " << what << '\n';
        return kProgInterrupted;
    }
    return kProgNoAnswer;
}

int openAndDump(ProgSession& session, const ProgLine& line,
                const std::atomic<bool>& stopRequested) {
    if (!openOrSay(session, line.port)) return kProgPortClosed;
    if (!session.readAwayUntilQuiet()) return dumpStopped(stopRequested, "the reading away");
    if (session.link().dump()) return kProgOk;
    const int status = dumpStopped(stopRequested, "the " + line.command);
    if (status == kProgNoAnswer) std::cerr << "tvprog: the unit did not answer the D\n";
    return status;
}

int collectDump(ProgSession& session, const ProgLine& line, bool untilQuiet,
                const std::atomic<bool>& stopRequested) {
    using Clock = std::chrono::steady_clock;
    DumpCollection collection;
    collection.deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(line.seconds));
    collection.quiet = untilQuiet ? session.quietTime() : Clock::duration::zero();
    if (!collectDumpReply(session.link(), session.waiter(), collection,
                          [&session] { return session.lineLost(); })) {
        return dumpStopped(stopRequested, "the dump");
    }
    return kProgOk;
}

int memoryCame(ProgSession& session, const ProgLine& line) {
    const DeviceLink& link = session.link();
    // The zeros of an empty buffer are no dump: only a memory that came is.
    if (link.BufferPos >= kDumpReplyBytes) return kProgOk;
    std::cerr << "tvprog: the unit's memory did not come: " << link.BufferPos << " of "
              << kDumpReplyBytes << " bytes (the echoes of D and CR, then "
              << DeviceLink::kImageSize << " bytes of memory) arrived"
              << (session.lineLost() ? " before the line was lost"
                                     : " in " + secondsText(line.seconds) + " s")
              << '\n';
    return kProgNoAnswer;
}

int endDump(ProgSession& session, int status, const std::atomic<bool>& stopRequested) {
    std::fflush(stdout);
    std::cout.flush();
    if (status != kProgInterrupted && !session.readAwayUntilQuiet()) {
        return dumpStopped(stopRequested, "the reading away after the dump");
    }
    return status;
}

}  // namespace tv
