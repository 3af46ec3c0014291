#include "tools/tvprog/prog_commands.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "device/header_reader.h"
#include "serial/port_name.h"
#ifdef _WIN32
#include "serial/win32_port_name.h"
#endif
#include "synth/number_format.h"
#include "tools/tvprog/prog_session.h"
#include "tools/tvprog/progress_line.h"

namespace tv {

namespace {

constexpr int32_t kWriteBytes = 2 + DeviceLink::kImageSize;  // W, CR, the image
// After a command's last byte, which has no reply to wait for: time for it to
// leave the line before the port closes (and for a late answer to be taken).
constexpr std::chrono::milliseconds kLinger{100};

// A dump is the echoes of the D and the CR, then the unit's memory.
constexpr int32_t kDumpBytes = 2 + DeviceLink::kImageSize;

// "com1 (/dev/ttyS0)" ("com1 (\\.\COM1)" on Windows), or the path as given.
std::string portText(const std::string& port) {
#ifdef _WIN32
    const auto path = resolveWin32PortName(port, processEnvironment());
#else
    const auto path = resolvePortName(port, processEnvironment());
#endif
    return path && *path != port ? port + " (" + *path + ")" : port;
}

bool openOrSay(ProgSession& session, const std::string& port) {
    if (session.open(port)) return true;
    std::cerr << "tvprog: " << session.openFailureReason() << "\n";
    return false;
}

// Which byte of a write the unit left unanswered: 1 is the W, 2 its CR.
std::string writeByteText(int32_t sent, uint8_t value) {
    std::string text = "byte " + std::to_string(sent) + " of " + std::to_string(kWriteBytes);
    if (sent == 1) return text + " (the command letter W)";
    if (sent == 2) return text + " (the CR after W)";
    const int32_t image = sent - 3;
    return text + " (channel " + std::to_string(image / 16) + ", image byte " +
           std::to_string(image) + ", 0x" + hexByte(value) + ")";
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

int runWrite(const ProgLine& line, const std::atomic<bool>& stopRequested) {
    ChannelTable table;
    try {
        table = readHeaderFile(line.header);
    } catch (const HeaderFormatError& e) {
        std::cerr << "tvprog: " << e.what() << '\n';
        return kProgBadHeader;
    } catch (const std::exception& e) {
        std::cerr << "tvprog: cannot read " << line.header << ": " << e.what() << '\n';
        return kProgBadHeader;
    }
    if (stopRequested.load()) {
        std::cerr << "tvprog: stopped by a signal while reading " << line.header << '\n';
        return kProgInterrupted;
    }

    ProgSession session(stopRequested, std::cerr);
    if (!openOrSay(session, line.port)) return kProgPortClosed;
    session.discardReceived();
    // Any non-zero is a terminal: the Windows C library answers 64 for a console.
    ProgressLine progress(stdout, kWriteBytes, ::isatty(STDOUT_FILENO) != 0);
    session.onSent([&](int32_t sent) { progress.update(sent); });
    const bool done = session.link().write(table);
    progress.finish();
    if (!done) {
        const int status = stopped(stopRequested, "the write");
        if (status == kProgNoAnswer) {
            std::cerr << "tvprog: the unit stopped answering at "
                      << writeByteText(session.bytesSent(), session.lastByteSent()) << '\n';
        }
        return status;
    }
    std::printf("wrote %d of %d bytes to %s in %.2f s\n", static_cast<int>(session.bytesSent()),
                static_cast<int>(kWriteBytes), portText(line.port).c_str(),
                progress.elapsedSeconds());
    // A unit that answers early (twice per byte) leaves the last bytes still in
    // the output queue, which the close would drop: give them time to leave.
    session.waiter().runUntil(std::chrono::steady_clock::now() + kLinger);
    return kProgOk;
}

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

int runInit(const ProgLine& line, const std::atomic<bool>& stopRequested) {
    ProgSession session(stopRequested, std::cerr);
    if (const int status = openAndAsk(session, line, &DeviceLink::initialize, "I", stopRequested)) {
        return status;
    }
    session.waiter().runUntil(std::chrono::steady_clock::now() + kLinger);
    std::printf("initialized the unit on %s\n", portText(line.port).c_str());
    return kProgOk;
}

}  // namespace tv
