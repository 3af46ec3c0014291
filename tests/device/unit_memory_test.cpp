// The unit's memory as channels: found behind the replies to D and CR, read as
// the words channelImage() laid out, and never made up when it did not come.
#include "device/unit_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tv {
namespace {

TEST(UnitMemory, TakesTheLastMemoryOfTheReplyAsTheChannelsWritten) {
    ChannelTable written;
    for (size_t c = 0; c < ChannelTable::kChannels; ++c) {
        written.InitReg[c] = static_cast<int32_t>(0x09F993 + c);
        written.RefReg[c] = static_cast<int32_t>(0x000C81 + 4 * c);
        written.NReg[c] = static_cast<int32_t>(0xFFFFFF - c);
        written.FuncReg[c] = static_cast<int32_t>(0x10 * c);
    }
    const ChannelImage image = channelImage(written);
    const std::vector<uint8_t> echoes{0x44, 0x0D}, framing{0x44, 0x44, 0x0D, 0x0D, 0x3E};
    struct Case {
        const char* what;
        std::vector<uint8_t> prefix;  // before the memory
        size_t memoryBytes;           // of the memory that came
        bool found;
    };
    const Case cases[] = {
        {"the echoes, then the memory", echoes, 128, true},
        {"more framing before it", framing, 128, true},
        {"one byte of memory short", echoes, 127, false},
        {"only the memory, no replies", {}, 128, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> reply = c.prefix;
        reply.insert(reply.end(), image.begin(), image.begin() + static_cast<long>(c.memoryBytes));
        const auto memory = unitMemoryInDump(reply);
        ASSERT_EQ(memory.has_value(), c.found);
        if (!c.found) continue;
        const ChannelTable read = unitChannels(*memory, "read from com1");
        EXPECT_EQ(read.InitReg, written.InitReg);
        EXPECT_EQ(read.RefReg, written.RefReg);
        EXPECT_EQ(read.NReg, written.NReg);
        EXPECT_EQ(read.FuncReg, written.FuncReg);
        EXPECT_EQ(read.description[7], "read from com1");
        EXPECT_EQ(channelImage(read), image);
    }
    // A byte above the 24 bits of a latch is named; a header would refuse it.
    ChannelImage wide = image;
    wide[3 * 16 + 8 + 3] = 0x01;  // ch3 NReg's fourth byte
    EXPECT_EQ(wordsWiderThanLatches(unitChannels(wide, "")),
              std::vector<std::string>{"ch3 NReg 0x01FFFFFC"});
}

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
