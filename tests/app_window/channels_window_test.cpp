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

class ChannelsWindowTest : public WindowTest {
protected:
    static ChannelTable someTable() {
        ChannelTable t;
        for (size_t c = 0; c < 8; ++c) {
            const auto i = static_cast<int32_t>(c);
            t.InitReg[c] = 0x0D8093;
            t.RefReg[c] = 0xC8 + 4 * i;
            t.NReg[c] = 0x026901;
            t.FuncReg[c] = 0x0D8092;
            t.description[c] = "ch" + std::to_string(c) + " STD=10MHz";
        }
        return t;
    }
    std::string saved(const ChannelTable& t, const std::string& name) {
        writeFile(name, headerText(t, std::tm{}));
        return (m_dir / name).string();
    }
    std::vector<std::string> column(const TForm1& f, const std::string& title) {
        std::vector<std::string> cells;
        for (int r = 0; r < 8; ++r) cells.push_back(gridText(f.ChannelGrid, r, title));
        return cells;
    }
};

TEST_F(ChannelsWindowTest, ThePageComesFourthAndTheGridFollowsSetInBothVariants) {
    struct Case {
        const char* ini;
        std::vector<std::string> titles;
        std::vector<std::string> ch2;  // after search and set on ch2, from InitReg on
    };
    const Case cases[] = {
        {"",
         {"ch", "Description", "InitReg", "RefReg", "NReg", "FuncReg", "R", "N", "PSC", "I(mA)",
          "PD(kHz)", "VCO(MHz)", "Unit"},
         {"000D8093", "000000C8", "00026901", "000D8092", "50", "617", "", "2.5", "200", "123.4",
          ""}},
        {"[Tarvex]\r\nVersion=1\r\n",
         {"ch", "Description", "InitReg", "RefReg", "NReg", "FuncReg", "R", "B", "A", "PSC",
          "I(mA)", "PD(kHz)", "VCO(MHz)", "Unit"},
         {"004D8093", "000000C8", "00002625", "004D8092", "50", "38", "9", "16/17", "2.5", "200",
          "123.4", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.titles[7]);
        writeFile("TVCONFIG.INI", c.ini);
        TForm1& f = start();
        EXPECT_EQ(f.PageControl1->indexOf(f.TabSheet4), 3);
        EXPECT_EQ(f.PageControl1->tabText(3).toStdString(), "Channels");
        EXPECT_EQ(gridTitles(f.ChannelGrid), c.titles);
        EXPECT_EQ(column(f, "ch"), (std::vector<std::string>{"ch0", "ch1", "ch2", "ch3", "ch4",
                                                             "ch5", "ch6", "ch7"}));
        click(f.Button4);
        clickItem(f.RadioGroup2, 2);
        click(f.Button14);
        std::vector<std::string> row;
        for (size_t k = 2; k < c.titles.size(); ++k)
            row.push_back(gridText(f.ChannelGrid, 2, c.titles[k]));
        EXPECT_EQ(row, c.ch2);
        EXPECT_EQ(gridText(f.ChannelGrid, 2, "Description"),
                  "12340MHz, STD=10MHz, PD=200kHz, I=2.50mA");
        EXPECT_EQ(gridText(f.ChannelGrid, 1, "NReg"), "00000000");
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

TEST_F(ChannelsWindowTest, OpenHeaderLoadsAsADropAndAFileThatIsNoneChangesNothing) {
    TForm1& f = start();
    const ChannelTable want = someTable();
    const std::string good = saved(want, "20240101_1200param.h");
    m_boxes->fileAnswers = {good, (m_dir / "TVCONFIG.INI").string(), ""};
    writeFile("TVCONFIG.INI", "[PSC]\r\nVALUE=3\r\n");

    click(f.OpenHeaderButton);
    EXPECT_EQ(m_boxes->fileDialogs.back(), m_dir.string());  // starts in the current folder
    EXPECT_EQ(memoLines(f.Memo2).back(), "ch7  000D8093 000000E4 00026901 000D8092  ch7 STD=10MHz");
    EXPECT_EQ(column(f, "RefReg")[7], "000000E4");
    EXPECT_EQ(column(f, "PD(kHz)")[7], "175.438596491228");  // 10 MHz / R 57

    click(f.OpenHeaderButton);  // no header: refused, the grid as it was
    EXPECT_EQ(memoLines(f.Memo2).back().rfind("Not loaded, the channels are as they were: ", 0),
              0u);
    EXPECT_EQ(column(f, "RefReg")[7], "000000E4");
    const auto lines = memoLines(f.Memo2);
    click(f.OpenHeaderButton);  // cancelled: nothing happens
    EXPECT_EQ(memoLines(f.Memo2), lines);
    EXPECT_EQ(f.channelTable.RefReg, want.RefReg);
}

TEST_F(ChannelsWindowTest, SaveHeaderAsWritesWhatSaveWritesWhereTheDialogSays) {
    TForm1& f = start();
    f.loadHeaderArguments({QString::fromStdString(saved(someTable(), "in.h"))});
    const std::time_t when = std::time(nullptr);
    f.setClock(std::make_unique<test::FixedClock>(when));
    std::tm local{};
    ASSERT_EQ(localTime(when, local), 0);
    const std::string chosen = (m_dir / "bench.h").string();
    writeFile("bench.h", "old");  // replaced whole (the dialog asked)
    m_boxes->fileAnswers = {chosen};
    click(f.SaveHeaderAsButton);
    EXPECT_EQ(m_boxes->fileDialogs.back(), (m_dir / headerFileName(local)).string());
    EXPECT_EQ(readFile("bench.h"), headerText(f.channelTable, local));
    EXPECT_EQ(memoLines(f.Memo2).back(), "Saved the channels to " + chosen + ".");

    m_boxes->fileAnswers = {(m_dir / "no-such-folder" / "x.h").string()};
    click(f.SaveHeaderAsButton);
    EXPECT_EQ(m_boxes->errors.size(), 1u);  // the standard error box, nothing claimed saved
    EXPECT_EQ(memoLines(f.Memo2).back(), "Saved the channels to " + chosen + ".");
}

}  // namespace
}  // namespace tv::testing
