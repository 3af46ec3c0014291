#include "device/channel_table.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(CurrentText, EveryIndexAndOutside) {
    const std::pair<int32_t, const char*> rows[] = {
        {0, "0.625mA"}, {1, "1.25mA"}, {2, "1.875mA"}, {3, "2.50mA"}, {4, "3.125mA"}, {5, "3.75mA"},
        {6, "4.375mA"}, {7, "5.00mA"}, {-1, ""},       {8, ""},       {INT32_MIN, ""}};
    for (const auto& [index, text] : rows) {
        EXPECT_EQ(currentText(index), text) << "index " << index;
    }
}

TEST(SetChannel, CopiesWordsAndBuildsDescription) {
    ChannelTable table;
    const LatchSet latches{0x000C81, 0x026A11, 0x09F993, 0x09F992};
    ASSERT_TRUE(setChannel(table, 5, latches, "12340", "10", "100", 3));
    EXPECT_EQ(table.RefReg[5], 0x000C81);
    EXPECT_EQ(table.NReg[5], 0x026A11);
    EXPECT_EQ(table.InitReg[5], 0x09F993);
    EXPECT_EQ(table.FuncReg[5], 0x09F992);
    EXPECT_EQ(table.description[5], "12340MHz, STD=10MHz, PD=100kHz, I=2.50mA");
    for (int c : {0, 1, 2, 3, 4, 6, 7}) {
        EXPECT_EQ(table.RefReg[c], 0);
        EXPECT_EQ(table.description[c], "");
    }
}

TEST(SetChannel, TextsAsTypedAndBlankPdAfterReset) {
    ChannelTable table;
    // After a reset the PD label holds two blanks; no current selected gives no text.
    ASSERT_TRUE(setChannel(table, 0, {}, " 1.5e3", "abc", "  ", -1));
    EXPECT_EQ(table.description[0], " 1.5e3MHz, STD=abcMHz, PD=  kHz, I=");
    ASSERT_TRUE(setChannel(table, 7, {}, "局発", "10", "200", 7));
    EXPECT_EQ(table.description[7], "局発MHz, STD=10MHz, PD=200kHz, I=5.00mA");
}

TEST(SetChannel, SecondSetReplacesFirst) {
    ChannelTable table;
    setChannel(table, 2, {1, 2, 3, 4}, "1", "2", "3", 0);
    setChannel(table, 2, {5, 6, 7, 8}, "9", "8", "7", 1);
    EXPECT_EQ(table.RefReg[2], 5);
    EXPECT_EQ(table.FuncReg[2], 8);
    EXPECT_EQ(table.description[2], "9MHz, STD=8MHz, PD=7kHz, I=1.25mA");
}

TEST(SetChannel, ChannelOutsideTableChangesNothing) {
    for (int32_t channel : {-1, 8, -100, INT32_MAX}) {
        ChannelTable table;
        EXPECT_FALSE(setChannel(table, channel, {1, 2, 3, 4}, "1", "2", "3", 3));
        for (int c = 0; c < ChannelTable::kChannels; ++c) {
            EXPECT_EQ(table.RefReg[c], 0);
            EXPECT_EQ(table.description[c], "");
        }
    }
}

}  // namespace
}  // namespace tv
