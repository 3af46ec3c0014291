#include "device/channel_image.h"

namespace tv {

namespace {

void putWord(uint8_t* out, int32_t word) {
    // Repeated division truncating toward zero, byte by byte. For the 24-bit words
    // this is plain little-endian order; a negative word (an option out of range)
    // deliberately does not come out as its two's complement, as the unit has always
    // received it.
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<uint8_t>(word % 256);
        word /= 256;
    }
}

}  // namespace

ChannelImage channelImage(const ChannelTable& table) {
    ChannelImage image{};
    for (size_t c = 0; c < ChannelTable::kChannels; ++c) {
        uint8_t* block = image.data() + protocol::kChannelBlock * c;
        putWord(block, table.InitReg[c]);
        putWord(block + 4, table.RefReg[c]);
        putWord(block + 8, table.NReg[c]);
        putWord(block + 12, table.FuncReg[c]);
    }
    return image;
}

}  // namespace tv
