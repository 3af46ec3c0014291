#pragma once
// The unit's memory as channels: the 128 bytes a Dump brings back, found in the
// reply and read as the eight channels' four words. tvprog read writes them as a
// header; the window's "Read unit" shows them beside the table.
//
// What is assumed of the unit's reply to D and CR, as the read-back assumes it
// (read_back.h): the unit sends its memory as it holds it, all 128 bytes in the
// image's order, after its replies to the D and the CR (tvunit: the echoes of D
// and CR, then the memory). With no image to look for, the memory is taken as the
// last 128 bytes of the reply: a memory comes last, behind the unit's framing.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/channel_image.h"
#include "device/channel_table.h"

namespace tv {

// The replies to D and CR, then the memory.
inline constexpr int kDumpReplyBytes = 2 + protocol::kImageSize;

// The unit's memory in the bytes received since a Dump (the receive buffer
// from position 0 up to the count received); nothing when fewer than
// kDumpReplyBytes came, so a memory that did not come is never taken for zeros.
std::optional<ChannelImage> unitMemoryInDump(std::span<const uint8_t> sinceDump);

// The channels that `image` holds: per 16-byte block InitReg, RefReg, NReg and
// FuncReg, each least significant byte first (channelImage()'s inverse for the
// 24-bit words a unit is written), every description `description`.
ChannelTable unitChannels(const ChannelImage& image, const std::string& description);

// The words of `table` that no latch takes (above 24 bits), as "ch3 NReg
// 0x01000000"; a header holding one is refused when read back.
std::vector<std::string> wordsWiderThanLatches(const ChannelTable& table);

}  // namespace tv
