#include "device/unit_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tv {
namespace {

// The unit holding the table or a corrupted byte of it is run in the window's
// tests against tvunit; here what tvunit does not do.
TEST(UnitMemory, FindsAMemoryUnlikeTheTableAndCountsAShortReply) {
    ChannelTable t;
    t.NReg.fill(0x026901);
    const ChannelImage table = channelImage(t);
    t.NReg[3] = 0x026A01;
    t.RefReg.fill(0xC8);
    const ChannelImage other = channelImage(t);
    for (const std::size_t kept : {std::size_t{128}, std::size_t{38}}) {
        std::vector<uint8_t> reply(2 + kept);
        reply[0] = 0x44;  // the echoes of D and CR
        reply[1] = 0x0D;
        std::copy_n(other.begin(), kept, reply.begin() + 2);
        const UnitMemory memory = unitMemoryFromDump(reply, table);
        EXPECT_EQ(memory.received, 2 + kept);
        EXPECT_EQ(memory.image, kept == 128 ? std::optional<ChannelImage>(other) : std::nullopt);
        EXPECT_EQ(unitMemoryLine(memory, table),
                  kept == 128
                      ? "The unit differs at ch0 RefReg: written 0x00000000, held 0x000000C8."
                      : "The unit's memory did not come: 40 of 130 bytes (the echoes of D "
                        "and CR, then 128 bytes of memory) arrived.");
    }
}

}  // namespace
}  // namespace tv
