// The Channels page against tvunit on a pseudo-terminal: Read unit fills the
// Unit column, Take copies a unit's channels to the next, and the grid marks
// what the unit does not hold yet.
#include "device/header_export.h"
#include "tests/support/channel_grid_cells.h"
#include "tests/support/unit_process.h"
#include "tests/support/window_fixture.h"

namespace tv::testing {
namespace {

class ChannelsUnitWindowTest : public WindowTest {
protected:
    UnitProcess& startUnit(const std::vector<std::string>& options, const std::string& log) {
        m_units.push_back(std::make_unique<UnitProcess>(options, (m_dir / log).string()));
        ::setenv("TVCONFIG_COM1", m_units.back()->path().c_str(), 1);
        return *m_units.back();
    }
    static ChannelTable someTable(int32_t seed) {
        ChannelTable t;
        for (size_t c = 0; c < 8; ++c) {
            const auto i = static_cast<int32_t>(c) + seed;
            t.InitReg[c] = 0x0D8093 + i;
            t.RefReg[c] = 0xC8 + 4 * i;
            t.NReg[c] = 0x026901 + 0x100 * i;
            t.FuncReg[c] = 0x0D8092 + i;
        }
        return t;
    }
    void load(TForm1& f, const ChannelTable& t) {
        writeFile("load.h", headerText(t, std::tm{}));
        f.loadHeaderArguments({QString::fromStdString((m_dir / "load.h").string())});
    }
    void writeAndWait(TForm1& f) {
        click(f.Button6);
        ASSERT_TRUE(waitUntil([&] { return f.Button6->isEnabled(); }));
    }

    std::vector<std::unique_ptr<UnitProcess>> m_units;
};

TEST_F(ChannelsUnitWindowTest, ReadUnitComparesTheUnitWithTheTable) {
    const struct {
        std::vector<std::string> options;
        std::string line;
        std::string ch2;  // the Unit column of ch2; the others "same", or empty when silent
    } cases[] = {
        {{}, "The unit holds the channels in the table.", "same"},
        {{"--corrupt-byte", "37"},  // byte 1 of ch2 RefReg
         "The unit differs at ch2 RefReg: written 0x000000D0, held 0x0000FFD0.",
         "RefReg 0000FFD0"},
        {{"--silent"}, "No reply from the unit", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        startUnit(c.options, "unit.log");
        TForm1& f = start();
        load(f, someTable(0));
        if (!c.ch2.empty()) writeAndWait(f);
        click(f.ReadUnitButton);
        EXPECT_EQ(memoLines(f.Memo2).back(), c.line);
        std::vector<std::string> unit(8, c.ch2.empty() ? "" : "same"), shown;
        unit[2] = c.ch2;
        for (int r = 0; r < 8; ++r) shown.push_back(gridText(f.ChannelGrid, r, "Unit"));
        EXPECT_EQ(shown, unit);
        EXPECT_EQ(gridMarked(f.ChannelGrid, 2, "Unit"), c.ch2.size() > 4);
        EXPECT_EQ(f.TakeUnitButton->isEnabled(), !c.ch2.empty());
        EXPECT_EQ(f.deviceLink().BufferPos, c.ch2.empty() ? 0 : 130);  // as after "Dump"
        m_form.reset();
        m_units.clear();
    }
}

// Also the marks: cells that differ from the last whole Write, until the next one.
TEST_F(ChannelsUnitWindowTest, TakenChannelsWrittenToASecondUnitGiveTheFirstUnitsImage) {
    startUnit({}, "first.log");
    TForm1& f = start();
    const ChannelTable good = someTable(7);
    load(f, good);
    EXPECT_TRUE(gridMarked(f.ChannelGrid, 3, "NReg"));  // loaded: not in the unit yet
    writeAndWait(f);
    EXPECT_FALSE(gridMarked(f.ChannelGrid, 3, "NReg"));
    load(f, someTable(0));  // other channels, loaded and not written
    EXPECT_TRUE(gridMarked(f.ChannelGrid, 3, "NReg"));
    click(f.ReadUnitButton);
    click(f.TakeUnitButton);  // asked, and answered "Cancel"
    ASSERT_EQ(m_boxes->replaceQuestions.size(), 1u);
    EXPECT_EQ(f.channelTable.NReg, someTable(0).NReg);
    m_boxes->replaceChannels = true;
    click(f.TakeUnitButton);
    EXPECT_EQ(f.channelTable.NReg, good.NReg);
    EXPECT_EQ(f.channelTable.description[0].rfind("read from com1 ", 0), 0u);
    EXPECT_FALSE(gridMarked(f.ChannelGrid, 3, "NReg"));        // the words written, ...
    EXPECT_TRUE(gridMarked(f.ChannelGrid, 3, "Description"));  // ... not this description

    UnitProcess& second = startUnit({}, "second.log");
    click(f.Button2);
    click(f.Button1);  // "Open": com1 is the second unit now
    writeAndWait(f);
    std::vector<int> expected{0x57, 0x0D};
    const std::vector<int> image = imageOf(good);
    expected.insert(expected.end(), image.begin(), image.end());
    EXPECT_EQ(receivedBytes(second.log()), expected);
    EXPECT_FALSE(gridMarked(f.ChannelGrid, 3, "Description"));
    click(f.TakeUnitButton);  // written now: nothing to lose, nothing asked
    EXPECT_EQ(m_boxes->replaceQuestions.size(), 2u);
}

}  // namespace
}  // namespace tv::testing
