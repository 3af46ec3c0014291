#include "device/unit_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "device/channel_rows.h"
#include "synth/number_format.h"

namespace tv {
namespace {

ChannelTable someTable(uint32_t seed) {
    ChannelTable t;
    for (std::size_t c = 0; c < 8; ++c) {
        const auto i = static_cast<int32_t>(c + seed);
        t.InitReg[c] = 0x0D8093 + i;
        t.RefReg[c] = 0xC8 + 4 * i;
        t.NReg[c] = 0x026901 + 0x100 * i;
        t.FuncReg[c] = 0x0D8092 + i;
    }
    return t;
}

std::vector<uint8_t> reply(const ChannelImage& memory, std::size_t keep = 128) {
    std::vector<uint8_t> bytes(2 + keep);
    bytes[0] = 0x44;  // the echoes of D and CR
    bytes[1] = 0x0D;
    std::copy_n(memory.begin(), keep, bytes.begin() + 2);
    return bytes;
}

TEST(UnitMemory, FindsTheMemoryInADumpsReplyAndComparesItWithTheTable) {
    const ChannelImage table = channelImage(someTable(0));
    ChannelImage corrupted = table;
    corrupted[37] ^= 0xFF;  // byte 1 of ch2 RefReg
    const ChannelImage other = channelImage(someTable(5));
    struct Row {
        const char* name;
        std::vector<uint8_t> received;
        std::optional<ChannelImage> memory;
        std::string line;
    };
    const Row rows[] = {
        {"the table", reply(table), table, "The unit holds the channels in the table."},
        {"a corrupted byte", reply(corrupted), corrupted,
         "The unit differs at ch2 RefReg: written 0x000000D0, held 0x0000FFD0."},
        {"other channels", reply(other), other,
         "The unit differs at ch0 InitReg: written 0x000D8093, held 0x000D8098."},
        {"a short reply", reply(table, 38), std::nullopt,
         "The unit's memory did not come: 40 of 130 bytes (the echoes of D and CR, then 128 "
         "bytes of memory) arrived."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const UnitMemory memory = unitMemoryFromDump(row.received, table);
        EXPECT_EQ(memory.received, row.received.size());
        EXPECT_EQ(memory.image, row.memory);
        EXPECT_EQ(unitMemoryLine(memory, table), row.line);
    }
}

TEST(UnitMemory, ItsChannelsAreTheWordsWrittenDescribedByPortAndTime) {
    const ChannelTable written = someTable(3);
    std::tm when{};
    when.tm_year = 124;
    when.tm_mon = 11;
    when.tm_mday = 9;
    when.tm_hour = 16;
    when.tm_min = 4;
    when.tm_sec = 5;
    const ChannelTable read = channelsReadFrom(channelImage(written), "com1", when);
    EXPECT_EQ(read.InitReg, written.InitReg);
    EXPECT_EQ(read.RefReg, written.RefReg);
    EXPECT_EQ(read.NReg, written.NReg);
    EXPECT_EQ(read.FuncReg, written.FuncReg);
    EXPECT_EQ(read.description[7], "read from com1 2024-12-09 16:04:05");
}

TEST(ChannelRows, DecodeAsTvcalcAndNameBrokenCounterRules) {
    struct Row {
        const char* name;
        int32_t variant;
        LatchSet words;
        std::string description;
        std::vector<std::string> decoded;  // R, N or B, A, PSC, I(mA), PD, VCO
        std::string ruleLine;
    };
    const std::string set = "12340MHz, STD=10MHz, PD=200kHz, I=2.50mA";
    const Row rows[] = {
        {"Tarvex S",
         0,
         {0xC8, 0x026901, 0x0D8093, 0x0D8092},
         set,
         {"50", "617", "", "2.5", "200", "123.4"},
         ""},
        {"Tarvex D",
         1,
         {0xC8, 0x2625, 0x4D8093, 0x4D8092},
         set,
         {"50", "38", "9", "16/17", "2.5", "200", "123.4"},
         ""},
        {"Tarvex D, PSC 64/65",
         1,
         {0xC8, 0x09A5, 0xCD8093, 0xCD8092},
         set,
         {"50", "9", "41", "64/65", "2.5", "200", "123.4"},
         "Tarvex D cannot divide N 617 with PSC 64/65: B 9, A 41 breaks B ≥ A; PSC 8/9 splits "
         "it as B 77, A 1; PSC 16/17 as B 38, A 9; PSC 32/33 as B 19, A 9."},
        {"no STD",
         0,
         {0xC8, 0x026901, 0x0D8093, 0x0D8092},
         "read from com1",
         {"50", "617", "", "2.5", "", ""},
         ""},
        {"never set", 0, {}, "", {"", "", "", "", "", ""}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChannelTable t;
        setChannel(t, 3, row.words, "", "", "", 0);
        t.description[3] = row.description;
        const ChannelRow got = channelRow(t, 3, row.variant, ".");
        std::vector<std::string> decoded;
        for (const ChannelColumn c : channelColumns(row.variant))
            if (c > ChannelColumn::FuncReg && c != ChannelColumn::Unit)
                decoded.push_back(got.text(c));
        EXPECT_EQ(decoded, row.decoded);
        EXPECT_EQ(got.ruleLine, row.ruleLine);
        EXPECT_EQ(got.NReg, hexText(row.words.NReg));
    }
}

}  // namespace
}  // namespace tv
