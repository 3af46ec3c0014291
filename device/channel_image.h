#pragma once
// The 128-byte image of the eight channels that "Write" sends and a later
// Dump is compared with.
#include <array>
#include <cstdint>

#include "device/channel_table.h"
#include "device/protocol_bytes.h"

namespace tv {

using ChannelImage = std::array<uint8_t, protocol::kImageSize>;

// Per channel a 16-byte block of InitReg, RefReg, NReg, FuncReg, each least
// significant byte first; descriptions are not part of it.
ChannelImage channelImage(const ChannelTable& table);

}  // namespace tv
