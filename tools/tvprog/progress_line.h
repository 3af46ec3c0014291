#pragma once
// The write's progress on a terminal: a bar of the bytes sent out of all and
// the time taken, redrawn in place.
#include <chrono>
#include <cstdio>
#include <string>

namespace tv {

class ProgressLine {
public:
    ProgressLine(std::FILE* out, int32_t total, bool onTerminal);

    void update(int32_t done);
    // Ends the bar's line, if one was drawn.
    void finish();
    double elapsedSeconds() const;

    // "[#####.....]  57/130 bytes  0.4 s", the bar `width` characters wide.
    static std::string barText(int32_t done, int32_t total, double seconds, int width);

private:
    std::FILE* m_out;
    int32_t m_total;
    bool m_onTerminal;
    bool m_drawn = false;
    std::chrono::steady_clock::time_point m_start;
};

}  // namespace tv
