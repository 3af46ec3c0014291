// "set" and "save": the channel table filled from the window and exported as a
// header in the working directory.
#include <clocale>
#include <ctime>

#include "tests/support/calendar_time.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/window_fixture.h"

namespace tv::testing {
namespace {

using ChannelWindowTest = WindowTest;

using test::FixedClock;
using test::localTime;

std::string wordLines(const char* init, const char* ref, const char* n, const char* func) {
    return std::string("  0x") + init + ",    //InitReg\r\n  0x" + ref + ",    //RefReg\r\n  0x" +
           n + ",    //NReg\r\n  0x" + func + ",    //FuncReg\r\n";
}

TEST_F(ChannelWindowTest, SetFillsTheSelectedChannelWithWordsAndDescription) {
    TForm1& f = start();
    click(control<QPushButton>("Button14"));  // before any search: zero words, PD part two blanks
    EXPECT_EQ(f.channelTable.description[0], "12340MHz, STD=10MHz, PD=  kHz, I=2.50mA");
    EXPECT_EQ(f.channelTable.NReg[0], 0);

    click(control<QPushButton>("Button4"));
    click(control<QPushButton>("Button4"));  // R 100, PD 100 kHz
    clickItem(control<RadioGroup>("RadioGroup2"), 3);
    click(control<QPushButton>("Button14"));
    EXPECT_EQ(f.channelTable.description[3], "12340MHz, STD=10MHz, PD=100kHz, I=2.50mA");
    EXPECT_EQ(f.channelTable.RefReg[3], 100 * 4);
    EXPECT_EQ(f.channelTable.NReg[3], 1234 * 256 + 1);

    clickItem(control<RadioGroup>("RadioGroup5"), 7);
    click(control<QPushButton>("Button5"));  // reset: the words of the last search stay
    click(control<QPushButton>("Button14"));
    EXPECT_EQ(f.channelTable.description[3], "12340MHz, STD=10MHz, PD=  kHz, I=5.00mA");
    EXPECT_EQ(f.channelTable.NReg[3], 1234 * 256 + 1);
    EXPECT_EQ(f.channelTable.description[0], "12340MHz, STD=10MHz, PD=  kHz, I=2.50mA");
}

TEST_F(ChannelWindowTest, SaveWritesTheHeaderByteForByte) {
    std::setlocale(LC_TIME, "C");
    TForm1& f = start();
    f.setClock(std::make_unique<FixedClock>(localTime(2010, 12, 31, 23, 59, 7)));
    click(control<QPushButton>("Button4"));
    clickItem(control<RadioGroup>("RadioGroup2"), 1);
    click(control<QPushButton>("Button14"));
    typeInto(control<QLineEdit>("Edit1"),
             QStringLiteral("5800,5 µ"));  // descriptions are written as typed
    clickItem(control<RadioGroup>("RadioGroup2"), 7);
    click(control<QPushButton>("Button14"));
    click(control<QPushButton>("Button15"));
    ASSERT_TRUE(m_boxes->errors.empty()) << m_boxes->errors[0];

    std::string expected = "//12/31/10 23:59:07\r\n";
    for (int c = 0; c < 8; ++c) {
        expected += "//" + std::to_string(c) + "  ";
        if (c == 1) {
            expected += "12340MHz, STD=10MHz, PD=200kHz, I=2.50mA\r\n";
            expected += wordLines("000D8093", "000000C8", "00026901", "000D8092");
        } else if (c == 7) {
            expected += "5800,5 µMHz, STD=10MHz, PD=  kHz, I=2.50mA\r\n";
            expected += wordLines("000D8093", "000000C8", "00026901", "000D8092");
        } else {
            expected += "\r\n" + wordLines("00000000", "00000000", "00000000", "00000000");
        }
    }
    EXPECT_EQ(readFile("20101231_2359param.h"), expected);
}

TEST_F(ChannelWindowTest, SaveAtMidnightLeavesOutTheTimeAndASecondSaveReplacesTheFirst) {
    std::setlocale(LC_TIME, "C");
    TForm1& f = start();
    f.setClock(std::make_unique<FixedClock>(localTime(2026, 1, 2, 0, 0, 0)));
    click(control<QPushButton>("Button15"));
    click(control<QPushButton>("Button4"));
    click(control<QPushButton>("Button14"));
    click(control<QPushButton>("Button15"));
    const std::string header = readFile("20260102_0000param.h");
    EXPECT_EQ(header.rfind("//01/02/26\r\n//0  12340MHz", 0), 0u) << header.substr(0, 40);
    EXPECT_EQ(std::count(header.begin(), header.end(), '\n'), 41);
}

TEST_F(ChannelWindowTest, ASaveThatCannotWriteShowsTheInputOutputError) {
    TForm1& f = start();
    f.setClock(std::make_unique<FixedClock>(localTime(2026, 1, 2, 3, 4, 0)));
    std::filesystem::create_directory(m_dir / "20260102_0304param.h");  // a directory in the way
    click(control<QPushButton>("Button15"));
    ASSERT_EQ(m_boxes->errors.size(), 1u);
#ifdef _WIN32
    EXPECT_EQ(m_boxes->errors[0], "ファイルへのアクセスが拒否されました.");  // ERROR_ACCESS_DENIED
#else
    EXPECT_EQ(m_boxes->errors[0], "I/O エラー (21)");  // EISDIR; ")" sorts before "."
#endif
}

}  // namespace
}  // namespace tv::testing
