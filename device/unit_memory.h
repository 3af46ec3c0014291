#pragma once
// What a unit holds, read back by a Dump: the unit's 128-byte memory found in
// the bytes received since the D, and the eight channels it makes. tvprog read
// writes them as a header; the window's "Read unit" shows them beside the table.
//
// What is assumed of the unit's reply to D and CR, as the read-back assumes it
// (read_back.h): the unit sends its memory as it holds it, all 128 bytes in the
// image's order, after its replies to the D and the CR (tvunit: the echoes of D
// and CR, then the memory). With no image to look for, the memory is taken as the
// last 128 bytes of the reply: a memory comes last, behind the unit's framing.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/channel_image.h"
#include "device/channel_table.h"

namespace tv {

// The echoes of D and CR, then the memory: fewer bytes than this hold no memory.
inline constexpr int kDumpReplyBytes = 2 + protocol::kImageSize;

// The unit's memory in the bytes received since a Dump (the receive buffer
// from position 0 up to the count received): the last 128 bytes; nothing when
// fewer than kDumpReplyBytes came, so a memory that did not come is never taken
// for zeros.
std::optional<ChannelImage> unitMemoryInDump(std::span<const uint8_t> sinceDump);

struct UnitMemory {
    std::optional<ChannelImage> image;  // the unit's memory, when it came
    std::size_t received = 0;           // bytes received since the Dump
};

// The memory in `received` when the table's image `expected` is at hand. Where
// that image is found, there; otherwise at the offset where most of its bytes
// line up with it (the read-back's own search), when the whole memory fits
// there, else the last 128 bytes as unitMemoryInDump takes them.
UnitMemory unitMemoryFromDump(std::span<const uint8_t> received, const ChannelImage& expected);

// The eight channels of a memory: each 16-byte block's InitReg, RefReg, NReg and
// FuncReg, least significant byte first (channelImage()'s inverse for the 24-bit
// words a unit is written); the descriptions are left empty.
ChannelTable channelsFromImage(const ChannelImage& image);

// The same channels, every description `description`.
ChannelTable unitChannels(const ChannelImage& image, const std::string& description);

// The unit's channels for the window's table: each channel described
// "read from <port> <yyyy-mm-dd hh:mm:ss>" with the local time of the read.
ChannelTable channelsReadFrom(const ChannelImage& image, const std::string& port,
                              const std::tm& local);

// The status line after a Read unit, against the table's image as it stands:
//   "The unit holds the channels in the table."
//   "The unit differs at ch0 NReg: written 0x00026901, held 0x00026900."
//   "The unit's memory did not come: 40 of 130 bytes (the echoes of D and CR, then 128 bytes
//    of memory) arrived."
std::string unitMemoryLine(const UnitMemory& memory, const ChannelImage& table);

// The words of `table` that no latch takes (above 24 bits), as "ch3 NReg
// 0x01000000"; a header holding one is refused when read back.
std::vector<std::string> wordsWiderThanLatches(const ChannelTable& table);

}  // namespace tv
