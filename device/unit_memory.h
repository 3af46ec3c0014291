#pragma once
// What a unit holds, read back by a Dump: the unit's 128-byte memory found in
// the bytes received since the D, and the eight channels it makes. The reply is
// assumed to be what the read-back (read_back.h) assumes: the memory as the unit
// holds it, in the image's byte order, after the unit's answers to the D and the
// CR; framing before or after it does no harm.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <span>
#include <string>

#include "device/channel_image.h"
#include "device/channel_table.h"

namespace tv {

// The echoes of D and CR, then the memory: fewer bytes than this hold no memory.
inline constexpr std::size_t kDumpReplyBytes = 2 + protocol::kImageSize;

struct UnitMemory {
    std::optional<ChannelImage> image;  // the unit's memory, when it came
    std::size_t received = 0;           // bytes received since the Dump
};

// The memory in `received` (the bytes since the Dump). Where the table's image
// `expected` is found, there; otherwise at the offset where most of its bytes
// line up with it (the read-back's own search), when the whole memory fits
// there, else the last 128 bytes (a memory comes last). Nothing when fewer than
// kDumpReplyBytes came.
UnitMemory unitMemoryFromDump(std::span<const uint8_t> received, const ChannelImage& expected);

// The eight channels of a memory: each 16-byte block's four words, least
// significant byte first; the descriptions are left empty.
ChannelTable channelsFromImage(const ChannelImage& image);

// The unit's channels for the table: its words, each channel described
// "read from <port> <yyyy-mm-dd hh:mm:ss>" with the local time of the read.
ChannelTable channelsReadFrom(const ChannelImage& image, const std::string& port,
                              const std::tm& local);

// The status line after a Read unit, against the table's image as it stands:
//   "The unit holds the channels in the table."
//   "The unit differs at ch0 NReg: written 0x00026901, held 0x00026900."
//   "The unit's memory did not come: 40 of 130 bytes (the echoes of D and CR, then 128 bytes
//    of memory) arrived."
std::string unitMemoryLine(const UnitMemory& memory, const ChannelImage& table);

}  // namespace tv
