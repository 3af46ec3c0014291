#include "tools/tvprog/prog_commands.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "os/hex_text.h"
#include "tools/tvprog/dump_collection.h"
#include "tools/tvprog/port_runs.h"
#include "tools/tvprog/prog_session.h"

namespace tv {

namespace {

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
