#include "tools/tvprog/read_command.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>

#include "device/header_export.h"
#include "device/unit_memory.h"
#include "os/append_file.h"
#include "os/local_time.h"
#include "os/safe_replace.h"
#include "os/sha256.h"
#include "os/system_error_text.h"
#include "tools/tvprog/dump_collection.h"
#include "tools/tvprog/port_serial_number.h"
#include "tools/tvprog/run_log.h"

namespace tv {

namespace {

class ReadRun {
public:
    ReadRun(const ProgLine& line, const std::atomic<bool>& stop)
        : m_line(line), m_stop(stop), m_session(stop, std::cerr) {}

    int run() {
        // A run that cannot be recorded does not start: no unit is touched.
        if (!m_line.log.empty()) {
            if (const int code = m_log.open(m_line.log)) {
                std::cerr << "tvprog: cannot open the log " << m_line.log << ": "
                          << appendOpenFailureText(m_line.log, code) << "; no unit was touched\n";
                return kProgLogFailed;
            }
        }
        const auto start = std::chrono::steady_clock::now();
        int status = openAndDump(m_session, m_line, m_stop);
        if (status == kProgOk) status = collectDump(m_session, m_line, true, m_stop);
        m_came = m_session.link().BufferPos;
        if (status == kProgOk) status = memoryCame(m_session, m_line);
        if (status == kProgOk) status = writeHeader();
        if (status != kProgPortClosed) status = endDump(m_session, status, m_stop);
        m_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return worstStatus(status, record(status));
    }

private:
    // The memory's channels as the export writes them, to OUT or standard output.
    int writeHeader() {
        const DeviceLink& link = m_session.link();
        const auto count = std::min<int32_t>(link.BufferPos, DeviceLink::kBufferSize);
        const std::optional<ChannelImage> memory = unitMemoryInDump(
            std::span<const uint8_t>(link.DeviceBuffer.data(), static_cast<size_t>(count)));
        const std::string serial = portSerialNumber(m_line.port);
        const ChannelTable table = unitChannels(
            *memory, "read from " + m_line.port + (serial.empty() ? "" : " " + serial));
        for (const std::string& word : wordsWiderThanLatches(table)) {
            std::cerr << "tvprog: the unit holds " << word
                      << ", wider than a latch word of 24 bits: tvprog write refuses this header "
                         "until the word is mended\n";
        }
        std::tm local{};
        if (const int code = localTime(std::time(nullptr), local)) {
            std::cerr << "tvprog: no local time for the header's date line: "
                      << systemErrorText(code) << '\n';
            return kProgBadHeader;
        }
        const std::string text = headerText(table, local);
        if (m_line.header.empty()) {
            std::fwrite(text.data(), 1, text.size(), stdout);
            if (std::fflush(stdout) != 0) {
                std::cerr << "tvprog: the header could not be written to standard output\n";
                return kProgBadHeader;
            }
        } else if (const int code = replaceFile(m_line.header, text)) {
            std::cerr << "tvprog: cannot write " << m_line.header << ": " << systemErrorText(code)
                      << "; nothing was written there\n";
            return kProgBadHeader;
        }
        m_digest = sha256Hex(text);
        return kProgOk;
    }

    // The run's line in the log; kProgLogFailed (or 6 when a stop ended the
    // wait for it) when it could not be written.
    int record(int status) {
        if (m_line.log.empty()) return kProgOk;
        LogRecord r;
        r.when = std::time(nullptr);
        r.port = m_line.port;
        r.serialNumber = portSerialNumber(m_line.port);
        r.header = m_line.header;
        r.headerSha256 = m_digest;
        r.command = "read";
        r.result = resultText(status);
        r.bytes = m_session.bytesSent();
        r.seconds = m_seconds;
        const int code = m_log.append(r, m_stop);
        if (code == 0) return kProgOk;
        std::cerr << "tvprog: cannot write the log " << m_line.log << ": "
                  << (appendWasStopped(code) ? "stopped by a signal while waiting"
                                             : systemErrorText(code))
                  << "; the result (" << r.result << ") is not recorded\n";
        return appendWasStopped(code) ? kProgInterrupted : kProgLogFailed;
    }

    std::string resultText(int status) const {
        switch (status) {
            case kProgOk:
                return "ok";
            case kProgPortClosed:
                return "port would not open";
            case kProgInterrupted:
                return "interrupted";
            case kProgBadHeader:
                return "header not written";
            default:
                break;
        }
        if (m_session.bytesSent() < 2 || m_came == 0) {
            return (m_session.lineLost() ? "line lost at byte " : "no reply at byte ") +
                   std::to_string(m_session.bytesSent());
        }
        return "memory did not come: " + std::to_string(m_came) + " of " +
               std::to_string(kDumpReplyBytes) + " bytes";
    }

    const ProgLine& m_line;
    const std::atomic<bool>& m_stop;
    ProgSession m_session;
    RunLog m_log;
    std::string m_digest;  // of the header written; empty when none was
    double m_seconds = 0;
    int32_t m_came = 0;  // bytes received since the D when the collection ended
};

}  // namespace

int runRead(const ProgLine& line, const std::atomic<bool>& stopRequested) {
    return ReadRun(line, stopRequested).run();
}

}  // namespace tv
