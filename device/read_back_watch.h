#pragma once
// What "View Buffer" compares a Dump with: the channels of the last Write that
// the unit answered to its end, once a Dump has followed it. A Write that stopped
// early leaves the unit's memory unknown, so nothing is compared until the next
// whole one.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "device/channel_image.h"

namespace tv {

class ReadBackWatch {
public:
    // A Write of `image` has ended; `complete` when every byte had its reply.
    void writeEnded(const ChannelImage& image, bool complete);
    // A Dump has ended; `answered` when the unit replied to its command letter.
    void dumpEnded(bool answered);
    // The line for the status memo about the bytes received since the Dump (the
    // receive buffer up to `bufferPos`), or nothing when no Dump followed a whole Write.
    std::optional<std::string> line(std::span<const uint8_t> buffer, int32_t bufferPos) const;

private:
    std::optional<ChannelImage> m_written;
    bool m_dumped = false;
};

// "Write done: 130 bytes, every reply in, 0.31 s." for a Write that sent `bytes`
// and had every reply within `seconds`.
std::string writeDoneLine(int bytes, double seconds);

}  // namespace tv
