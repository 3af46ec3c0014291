#include "unit_log.h"

#include <time.h>

namespace tv {

int64_t monotonicNs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

void UnitLog::note(const char* direction, uint8_t b) {
    if (m_file == nullptr) return;
    noteUnflushed(direction, b);
    flush();
}

void UnitLog::noteAt(int64_t ns, const char* direction, uint8_t b) {
    if (m_file == nullptr) return;
    std::fprintf(m_file, "%lld %s %02X\n", static_cast<long long>(ns), direction, b);
    flush();
}

void UnitLog::noteUnflushed(const char* direction, uint8_t b) {
    if (m_file == nullptr) return;
    std::fprintf(m_file, "%lld %s %02X\n", static_cast<long long>(monotonicNs()), direction, b);
}

void UnitLog::flush() {
    if (m_file != nullptr) std::fflush(m_file);
}

}  // namespace tv
