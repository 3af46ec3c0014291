#pragma once
// The ports of a run on several at once, one line each. On a terminal every
// port's line is redrawn in place (its progress, then how it ended); otherwise
// each port prints one line, prefixed by the port, as it ends.
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace tv {

class PortBoard {
public:
    PortBoard(std::FILE* out, std::vector<std::string> ports, bool onTerminal);

    // Safe from any thread.
    void update(std::size_t port, int32_t sent, int32_t total);
    void finish(std::size_t port, const std::string& line);

private:
    void drawLocked(bool force);

    std::FILE* m_out;
    std::vector<std::string> m_ports;
    std::vector<std::string> m_lines;
    std::vector<std::chrono::steady_clock::time_point> m_starts;
    bool m_onTerminal;
    bool m_drawn = false;
    std::chrono::steady_clock::time_point m_lastDraw{};
    std::mutex m_mutex;
};

}  // namespace tv
