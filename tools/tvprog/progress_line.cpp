#include "tools/tvprog/progress_line.h"

namespace tv {

ProgressLine::ProgressLine(std::FILE* out, int32_t total, bool onTerminal)
    : m_out(out),
      m_total(total),
      m_onTerminal(onTerminal),
      m_start(std::chrono::steady_clock::now()) {}

double ProgressLine::elapsedSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

std::string ProgressLine::barText(int32_t done, int32_t total, double seconds, int width) {
    const int filled = total > 0 ? static_cast<int>(int64_t{done} * width / total) : width;
    char tail[64];
    std::snprintf(tail, sizeof tail, "] %3d/%d bytes  %.1f s", static_cast<int>(done),
                  static_cast<int>(total), seconds);
    return "[" + std::string(static_cast<size_t>(filled), '#') +
           std::string(static_cast<size_t>(width - filled), '.') + tail;
}

void ProgressLine::update(int32_t done) {
    if (!m_onTerminal) return;
    std::fprintf(m_out, "\r%s", barText(done, m_total, elapsedSeconds(), 40).c_str());
    std::fflush(m_out);
    m_drawn = true;
}

void ProgressLine::finish() {
    if (m_drawn) std::fputc('\n', m_out);
    m_drawn = false;
}

}  // namespace tv
