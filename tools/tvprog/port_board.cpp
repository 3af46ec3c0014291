#include "tools/tvprog/port_board.h"

#include "tools/tvprog/progress_line.h"

namespace tv {

namespace {
// Redrawing every byte of four ports would keep the terminal busier than the
// line; a tenth of a second is smooth enough for the eye.
constexpr std::chrono::milliseconds kRedraw{100};
constexpr int kBarWidth = 30;
constexpr std::size_t kWidth = 79;
}  // namespace

PortBoard::PortBoard(std::FILE* out, std::vector<std::string> ports, bool onTerminal)
    : m_out(out),
      m_ports(std::move(ports)),
      m_lines(m_ports.size(), "waiting"),
      m_starts(m_ports.size()),
      m_onTerminal(onTerminal) {}

void PortBoard::update(std::size_t port, int32_t sent, int32_t total) {
    if (!m_onTerminal) return;
    std::lock_guard lock(m_mutex);
    const auto now = std::chrono::steady_clock::now();
    if (sent <= 1) m_starts[port] = now;
    m_lines[port] = ProgressLine::barText(
        sent, total, std::chrono::duration<double>(now - m_starts[port]).count(), kBarWidth);
    drawLocked(sent == total);
}

void PortBoard::finish(std::size_t port, const std::string& line) {
    std::lock_guard lock(m_mutex);
    m_lines[port] = line;
    if (m_onTerminal) {
        drawLocked(true);
    } else {
        std::fprintf(m_out, "%s: %s\n", m_ports[port].c_str(), line.c_str());
        std::fflush(m_out);
    }
}

void PortBoard::drawLocked(bool force) {
    const auto now = std::chrono::steady_clock::now();
    if (!force && m_drawn && now - m_lastDraw < kRedraw) return;
    m_lastDraw = now;
    // Back to the first port's line, then every line anew.
    if (m_drawn) std::fprintf(m_out, "\x1b[%uA", static_cast<unsigned>(m_ports.size()));
    for (std::size_t i = 0; i < m_ports.size(); ++i) {
        // A line that wrapped would take two rows and throw the redraw off: cut
        // to a plain terminal's width (a failure's whole text follows as a note).
        std::string text = m_ports[i] + "  " + m_lines[i];
        if (text.size() > kWidth) text.resize(kWidth);
        std::fprintf(m_out, "\r\x1b[K%s\n", text.c_str());
    }
    std::fflush(m_out);
    m_drawn = true;
}

}  // namespace tv
