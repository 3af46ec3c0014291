#include "device/read_back_watch.h"

#include <algorithm>
#include <cstdio>

#include "device/read_back.h"

namespace tv {

void ReadBackWatch::writeEnded(const ChannelImage& image, bool complete) {
    m_written = complete ? std::optional<ChannelImage>(image) : std::nullopt;
    m_dumped = false;
}

void ReadBackWatch::dumpEnded(bool answered) { m_dumped = answered && m_written.has_value(); }

std::optional<std::string> ReadBackWatch::line(std::span<const uint8_t> buffer,
                                               int32_t bufferPos) const {
    if (!m_dumped) return std::nullopt;
    // Only what came since the Dump: older bytes further on (the Write's own
    // echoes hold the image too) must not pass for the unit's memory.
    const auto received = static_cast<std::size_t>(
        std::clamp<int64_t>(bufferPos, 0, static_cast<int64_t>(buffer.size())));
    return readBackLine(compareReadBack(*m_written, buffer.first(received)));
}

std::string writeDoneLine(int bytes, double seconds) {
    char text[96];
    std::snprintf(text, sizeof text, "Write done: %d bytes, every reply in, %.2f s.", bytes,
                  seconds);
    return text;
}

}  // namespace tv
