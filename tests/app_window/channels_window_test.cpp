// The Channels page without a unit: the grid follows the channel table after
// "set" and header loads, and headers are opened and saved through the dialogs.
#include <QTabWidget>

#include "device/header_export.h"
#include "os/local_time.h"
#include "tests/support/channel_grid_cells.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/window_fixture.h"

namespace tv::testing {
namespace {

using ChannelsWindowTest = WindowTest;

// The cells of a row from InitReg on, joined by blanks.
std::string rowText(const TForm1& f, int row) {
    std::string text;
    for (const std::string& title : gridTitles(f.ChannelGrid))
        if (text.size() || title == "InitReg") text += gridText(f.ChannelGrid, row, title) + " ";
    return text;
}

TEST_F(ChannelsWindowTest, ThePageComesFourthAndTheGridFollowsSetInBothVariants) {
    const struct {
        const char* ini;
        std::string counters, ch2;  // ch2 after search and set on it
    } cases[] = {{"", "N", "000D8093 000000C8 00026901 000D8092 50 617  2.5 200 123.4  "},
                 {"[Tarvex]\r\nVersion=1\r\n", "B A",
                  "004D8093 000000C8 00002625 004D8092 50 38 9 16/17 2.5 200 123.4  "}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.counters);
        writeFile("TVCONFIG.INI", c.ini);
        TForm1& f = start();
        EXPECT_EQ(f.PageControl1->indexOf(f.TabSheet4), 3);
        EXPECT_EQ(f.PageControl1->tabText(3).toStdString(), "Channels");
        std::string titles;
        for (const std::string& t : gridTitles(f.ChannelGrid)) titles += t + " ";
        EXPECT_EQ(titles, "ch Description InitReg RefReg NReg FuncReg R " + c.counters +
                              " PSC I(mA) PD(kHz) VCO(MHz) Unit ");
        click(f.Button4);
        clickItem(f.RadioGroup2, 2);
        click(f.Button14);
        EXPECT_EQ(rowText(f, 2), c.ch2);
        const std::string never = rowText(f, 7);  // never set: only its zeros
        EXPECT_EQ(never.substr(0, 36), "00000000 00000000 00000000 00000000 ");
        EXPECT_EQ(never.find_first_not_of(' ', 36), std::string::npos);
        m_form.reset();
    }
}

TEST_F(ChannelsWindowTest, CountersThatBreakARuleAreMarkedWithTheMemoLineAsTooltip) {
    writeFile("TVCONFIG.INI", "[Tarvex]\r\nVersion=1\r\n[PSC]\r\nVALUE=3\r\n");
    TForm1& f = start();
    click(f.Button4);  // B 9, A 41 with PSC 64/65
    const std::string memoLine = memoLines(f.Memo2).back();
    ASSERT_EQ(memoLine.rfind("Tarvex D cannot divide N 617", 0), 0u) << memoLine;
    click(f.Button14);
    EXPECT_EQ(gridData(f.ChannelGrid, 0, "A", Qt::ToolTipRole).toString().toStdString(), memoLine);
    EXPECT_TRUE(gridMarked(f.ChannelGrid, 0, "B"));
    EXPECT_FALSE(gridData(f.ChannelGrid, 1, "ch", Qt::ToolTipRole).isValid());
}

TEST_F(ChannelsWindowTest, OpenHeaderLoadsAsADropAndSaveHeaderAsWritesWhatSaveWrites) {
    TForm1& f = start();
    ChannelTable t;
    t.RefReg[7] = 0xE4;  // R 57
    t.NReg[7] = 0x026901;
    t.description[7] = "STD=10MHz";
    writeFile("in.h", headerText(t, std::tm{}));
    writeFile("bench.h", "old");  // replaced whole (the dialog asked)
    const std::string in = (m_dir / "in.h").string(), bench = (m_dir / "bench.h").string();
    m_boxes->fileAnswers = {in, bench, "", bench, (m_dir / "none" / "x.h").string()};

    click(f.OpenHeaderButton);
    EXPECT_EQ(m_boxes->fileDialogs.back(), m_dir.string());  // starts in the current folder
    EXPECT_EQ(memoLines(f.Memo2).back(), "ch7  00000000 000000E4 00026901 00000000  STD=10MHz");
    EXPECT_EQ(gridText(f.ChannelGrid, 7, "PD(kHz)"), "175.438596491228");
    click(f.OpenHeaderButton);  // no header: refused, the grid as it was
    EXPECT_EQ(memoLines(f.Memo2).back().rfind("Not loaded, the channels are as they were: ", 0),
              0u);
    EXPECT_EQ(gridText(f.ChannelGrid, 7, "RefReg"), "000000E4");

    const std::time_t when = std::time(nullptr);
    f.setClock(std::make_unique<test::FixedClock>(when));
    std::tm local{};
    ASSERT_EQ(localTime(when, local), 0);
    click(f.SaveHeaderAsButton);  // cancelled: nothing written
    EXPECT_EQ(m_boxes->fileDialogs.back(), (m_dir / headerFileName(local)).string());
    EXPECT_EQ(readFile("bench.h"), "old");
    click(f.SaveHeaderAsButton);
    EXPECT_EQ(readFile("bench.h"), headerText(f.channelTable, local));
    EXPECT_EQ(memoLines(f.Memo2).back(), "Saved the channels to " + bench + ".");
    click(f.SaveHeaderAsButton);  // a folder that does not exist: the error box, nothing claimed
    EXPECT_EQ(m_boxes->errors.size(), 1u);
    EXPECT_EQ(memoLines(f.Memo2).back(), "Saved the channels to " + bench + ".");
}

}  // namespace
}  // namespace tv::testing
