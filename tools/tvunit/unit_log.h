#pragma once
// The --log file: one line per byte, "<monotonic ns> RX 57" or "... TX 57".
#include <cstdint>
#include <cstdio>

namespace tv {

// Nanoseconds on the monotonic clock, the log's and the wire's time base.
int64_t monotonicNs();

class UnitLog {
public:
    explicit UnitLog(FILE* file) : m_file(file) {}

    bool enabled() const { return m_file != nullptr; }
    // A line, flushed at once so a reader sees it while the unit runs.
    void note(const char* direction, uint8_t b);
    // A line stamped with a time of the wire's model rather than now.
    void noteAt(int64_t ns, const char* direction, uint8_t b);
    // A line left in the buffer, for a run of bytes flushed together.
    void noteUnflushed(const char* direction, uint8_t b);
    void flush();

private:
    FILE* m_file;
};

}  // namespace tv
