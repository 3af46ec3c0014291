#include "tools/tvprog/port_run.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <span>

#include "device/dump_collector.h"
#include "device/read_back.h"
#include "os/hex_text.h"
#include "ports/platform_port.h"
#include "tools/tvprog/prog_session.h"

namespace tv {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t kWriteBytes = 2 + DeviceLink::kImageSize;  // W, CR, the image

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", seconds);
    return text;
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

class PortRun {
public:
    explicit PortRun(const PortJob& job)
        : m_job(job), m_image(channelImage(job.table)), m_session(job.stopRequested, job.notes) {}

    PortOutcome run() {
        if (!m_session.open(m_job.port)) {
            return fail(kProgPortClosed, "port would not open", m_session.openFailureReason());
        }
        if (!m_session.readAwayUntilQuiet()) {
            stopped("the reading away before the first byte", "");
            return m_outcome;
        }
        m_start = Clock::now();
        runCommand();
        // Whatever the unit still sends is taken here, not by the next run as the
        // reply to its first byte: the answer to a last byte that has no wait (the
        // CR of I), replies to bytes still leaving the output queue (which the
        // close would drop), a read-back cut short. Only a memory that came whole
        // leaves nothing owed, and a stop does not wait.
        if (!m_memoryCame && m_outcome.status != kProgInterrupted) m_session.readAwayUntilQuiet();
        return m_outcome;
    }

private:
    void runCommand() {
        const std::string& command = m_job.line.command;
        if (command == "write" && !write()) return;
        if (command == "init" && !initialize()) return;
        if ((command == "verify" || m_job.line.verify) && !readBack()) return;
        finish(kProgOk, "ok", m_outcome.line);
    }

    bool write() {
        m_session.onSent([this](int32_t sent) {
            if (m_job.progress) m_job.progress(sent, kWriteBytes);
        });
        const bool done = m_session.link().write(m_image);
        m_session.onSent(nullptr);
        m_outcome.writeSeconds = secondsSince(m_start);
        if (!done) {
            return stopped("the write",
                           "the unit stopped answering at " +
                               writeByteText(m_session.bytesSent(), m_session.lastByteSent()));
        }
        const std::string wrote = "wrote " + std::to_string(m_session.bytesSent()) + " of " +
                                  std::to_string(kWriteBytes) + " bytes";
        const std::string took = " in " + secondsText(m_outcome.writeSeconds);
        say(wrote + " to " + portText(m_job.port) + took, wrote + took);
        // Slow replies (a USB adapter's latency timer) get the hint after the
        // summary, on standard output only: the port's line stays short.
        const std::string& hint = m_session.view().slowReplies();
        if (!hint.empty()) m_outcome.report += hint + '\n';
        return true;
    }

    bool initialize() {
        if (!m_session.link().initialize()) {
            return stopped("the init", "the unit did not answer the I");
        }
        say("initialized the unit on " + portText(m_job.port), "initialized");
        return true;
    }

    // A Dump, collected until the image shows or the time is up.
    bool readBack() {
        if (!m_session.link().dump()) {
            return stopped("the read-back", "the unit did not answer the D of the read-back");
        }
        // Done when the image shows; or, when it does not, once a reply's worth
        // has come and the line has gone quiet: a unit that holds other words
        // does not keep the bench waiting out the whole time.
        DumpCollection collection;
        collection.deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                 std::chrono::duration<double>(m_job.line.seconds));
        collection.quiet = m_session.quietTime();
        collection.expected = &m_image;
        if (!collectDumpReply(m_session.link(), m_session.waiter(), collection,
                              [this] { return m_session.lineLost(); })) {
            return stopped("the read-back", "");
        }
        const DeviceLink& link = m_session.link();
        const auto count = std::min<int32_t>(link.BufferPos, DeviceLink::kBufferSize);
        const std::span<const uint8_t> received(link.DeviceBuffer.data(),
                                                static_cast<size_t>(count));
        const ReadBackResult result = compareReadBack(m_image, received);
        m_memoryCame = result.matches;
        const std::string text = readBackLine(result);
        if (!result.matches && m_session.lineLost()) {
            return stopped("the read-back", "the line was lost during the read-back: " + text);
        }
        if (!result.matches) {
            fail(kProgVerifyFailed, "verify failed", text);
            return false;
        }
        say(text, text);
        return true;
    }

    // The command stopped early: by a signal, a lost line, or a unit that fell silent.
    bool stopped(const std::string& what, const std::string& noAnswer) {
        const std::string at = " at byte " + std::to_string(m_session.bytesSent());
        if (m_job.stopRequested.load()) {
            fail(kProgInterrupted, "interrupted", "stopped by a signal during " + what);
        } else if (m_session.lineLost()) {
            fail(kProgNoAnswer, "line lost" + at, noAnswer);
        } else {
            fail(kProgNoAnswer, "no reply" + at, noAnswer);
        }
        return false;
    }

    PortOutcome fail(int status, const std::string& result, const std::string& text) {
        m_job.notes << "tvprog: " << text << '\n';
        return finish(status, result, text);
    }

    PortOutcome finish(int status, const std::string& result, const std::string& line) {
        m_outcome.status = status;
        m_outcome.result = result;
        m_outcome.line = line;
        m_outcome.bytes = m_session.bytesSent();
        if (m_start != Clock::time_point{}) m_outcome.seconds = secondsSince(m_start);
        return m_outcome;
    }

    // `report` for standard output, `shortText` (without the port) for the line.
    void say(const std::string& report, const std::string& shortText) {
        m_outcome.report += report + '\n';
        m_outcome.line = m_outcome.line.empty() ? shortText : m_outcome.line + "; " + shortText;
    }

    const PortJob& m_job;
    // What a write sends and a verify looks for: one image per run.
    const ChannelImage m_image;
    ProgSession m_session;
    PortOutcome m_outcome;
    Clock::time_point m_start{};
    bool m_memoryCame = false;  // the read-back found the image: the unit owes nothing
};

}  // namespace

std::string portText(const std::string& port) {
    const auto path = platformPortDevice(port, processEnvironment());
    return path && *path != port ? port + " (" + *path + ")" : port;
}

PortOutcome runOnPort(const PortJob& job) { return PortRun(job).run(); }

}  // namespace tv
