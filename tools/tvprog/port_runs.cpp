#include "tools/tvprog/port_runs.h"

#include <unistd.h>

#include <ctime>
#include <iostream>
#include <sstream>
#include <thread>
#include <vector>

#include "device/header_reader.h"
#include "os/append_file.h"
#include "os/system_error_text.h"
#include "tools/tvprog/port_board.h"
#include "tools/tvprog/port_run.h"
#include "tools/tvprog/port_serial_number.h"
#include "tools/tvprog/progress_line.h"
#include "tools/tvprog/run_log.h"
#include "tools/tvprog/terminal_redraw.h"

namespace tv {

namespace {

// Any non-zero is a terminal: the Windows C library answers 64 for a console.
bool stdoutIsTerminal() { return ::isatty(STDOUT_FILENO) != 0; }

// The header's table and the digest of the same bytes, read once; the status to
// end with when the header cannot be used.
int readHeader(const ProgLine& line, ChannelTable& table, std::string& digest) {
    try {
        HeaderFileContent content = readHeaderFileWithDigest(line.header);
        table = std::move(content.table);
        digest = std::move(content.sha256);
    } catch (const HeaderFormatError& e) {
        std::cerr << "tvprog: " << e.what() << '\n';
        return kProgBadHeader;
    } catch (const std::exception& e) {
        std::cerr << "tvprog: cannot read " << line.header << ": " << e.what() << '\n';
        return kProgBadHeader;
    }
    return kProgOk;
}

class PortRuns {
public:
    PortRuns(const ProgLine& line, const std::atomic<bool>& stopRequested)
        : m_line(line), m_stop(stopRequested) {}

    int run() {
        if (!m_line.header.empty()) {
            if (const int status = readHeader(m_line, m_table, m_digest)) return status;
            if (m_stop.load()) {
                std::cerr << "tvprog: stopped by a signal while reading " << m_line.header << '\n';
                return kProgInterrupted;
            }
        }
        // A run that cannot be recorded does not start: no unit is touched.
        if (!m_line.log.empty()) {
            if (const int code = m_log.open(m_line.log)) {
                std::cerr << "tvprog: cannot open the log " << m_line.log << ": "
                          << appendOpenFailureText(m_line.log, code) << "; no unit was touched\n";
                return kProgLogFailed;
            }
        }
        return m_line.ports.size() == 1 ? runOne() : runSeveral();
    }

private:
    // One port as tvprog has always shown it: notes on stderr as they come, the
    // write's progress bar on a terminal.
    int runOne() {
        ProgressLine bar(stdout, 2 + protocol::kImageSize, stdoutIsTerminal());
        const PortJob job{m_line,
                          m_line.port,
                          m_table,
                          std::cerr,
                          [&](int32_t sent, int32_t total) {
                              bar.update(sent);
                              if (sent == total) bar.finish();
                          },
                          m_stop};
        const PortOutcome outcome = runOnPort(job);
        bar.finish();
        std::fputs(outcome.report.c_str(), stdout);
        std::fflush(stdout);
        return worstStatus(outcome.status, record(m_line.port, outcome));
    }

    // Several ports at once, a thread each; their notes follow at the end, each
    // line prefixed by its port.
    int runSeveral() {
        const std::size_t count = m_line.ports.size();
        PortBoard board(stdout, m_line.ports, stdoutIsTerminal() && enableTerminalRedraw());
        std::vector<std::ostringstream> notes(count);
        std::vector<int> statuses(count, kProgOk);
        std::vector<std::thread> threads;
        for (std::size_t i = 0; i < count; ++i) {
            threads.emplace_back([&, i] {
                const std::string& port = m_line.ports[i];
                const PortJob job{
                    m_line,
                    port,
                    m_table,
                    notes[i],
                    [&board, i](int32_t sent, int32_t total) { board.update(i, sent, total); },
                    m_stop};
                const PortOutcome outcome = runOnPort(job);
                board.finish(i, outcome.status == kProgOk ? "ok: " + outcome.line
                                                          : outcome.result + ": " + outcome.line);
                statuses[i] = worstStatus(outcome.status, record(port, outcome));
            });
        }
        int status = kProgOk;
        for (std::size_t i = 0; i < count; ++i) {
            threads[i].join();
            status = worstStatus(status, statuses[i]);
        }
        for (std::size_t i = 0; i < count; ++i) {
            std::istringstream lines(notes[i].str());
            for (std::string text; std::getline(lines, text);) {
                if (text.rfind("tvprog: ", 0) == 0) text.erase(0, 8);
                std::cerr << "tvprog: " << m_line.ports[i] << ": " << text << '\n';
            }
        }
        return status;
    }

    // The port's line in the log; kProgLogFailed when it could not be written.
    int record(const std::string& port, const PortOutcome& outcome) {
        if (m_line.log.empty()) return kProgOk;
        LogRecord r;
        r.when = std::time(nullptr);
        r.port = port;
        r.serialNumber = portSerialNumber(port);
        r.header = m_line.header;
        r.headerSha256 = m_digest;
        r.command = m_line.verify ? m_line.command + " --verify" : m_line.command;
        r.result = outcome.result;
        r.bytes = outcome.bytes;
        r.seconds = outcome.seconds;
        if (const int code = m_log.append(r, m_stop)) {
            std::ostringstream text;
            if (appendWasStopped(code)) {
                text << "tvprog: stopped by a signal while waiting to write the log " << m_line.log
                     << "; the result on " << port << " (" << outcome.result
                     << ") is not recorded\n";
                std::cerr << text.str();
                return kProgInterrupted;
            }
            text << "tvprog: cannot write the log " << m_line.log << ": " << systemErrorText(code)
                 << "; the result on " << port << " (" << outcome.result << ") is not recorded\n";
            std::cerr << text.str();
            return kProgLogFailed;
        }
        return kProgOk;
    }

    const ProgLine& m_line;
    const std::atomic<bool>& m_stop;
    ChannelTable m_table;
    std::string m_digest;
    RunLog m_log;
};

}  // namespace

int runOnPorts(const ProgLine& line, const std::atomic<bool>& stopRequested) {
    return PortRuns(line, stopRequested).run();
}

}  // namespace tv
