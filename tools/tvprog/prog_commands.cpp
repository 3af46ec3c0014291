#include "tools/tvprog/prog_commands.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "device/header_reader.h"
#include "serial/port_name.h"
#include "synth/number_format.h"
#include "tools/tvprog/prog_session.h"
#include "tools/tvprog/progress_line.h"

namespace tv {

namespace {

constexpr int32_t kWriteBytes = 2 + DeviceLink::kImageSize;  // W, CR, the image
// After a command's last byte, which has no reply to wait for: time for it to
// leave the line before the port closes (and for a late answer to be taken).
constexpr std::chrono::milliseconds kLinger{100};

// "com1 (/dev/ttyS0)", or the path as given.
std::string portText(const std::string& port) {
    const auto path = resolvePortName(port, processEnvironment());
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

    ProgSession session(stopRequested, std::cerr);
    if (!openOrSay(session, line.port)) return kProgPortClosed;
    ProgressLine progress(stdout, kWriteBytes, ::isatty(STDOUT_FILENO) == 1);
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
    if (!session.view().slowReplies().empty())
        std::printf("%s\n", session.view().slowReplies().c_str());
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
    if (!session.waiter().runUntil(std::chrono::steady_clock::now() + collect)) {
        return stopped(stopRequested, "the dump");
    }
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
