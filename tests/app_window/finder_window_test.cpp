// The ratio finder and the latch words as the operator sees them in the window.
#include <QTabWidget>

#include "tests/support/window_fixture.h"

namespace tv::testing {
namespace {

using FinderWindowTest = WindowTest;

std::string text(const QLabel* l) { return l->text().toStdString(); }
std::string text(const QLineEdit* e) { return e->text().toStdString(); }

TEST_F(FinderWindowTest, StartsWithTheDefaultsWhenThereIsNoSettingsFile) {
    TForm1& f = start();
    EXPECT_EQ(f.windowTitle().toStdString(), "Tarvex-D tpye1 Configurator  V1.0");
    EXPECT_EQ(f.objectName().toStdString(), "Form1");
#ifdef _WIN32
    // The window grows where a text needs more room than its control has: with
    // the IPA stand-ins, or on Qt's offscreen platform, which measures Windows
    // texts without a font database.
    EXPECT_GE(f.width(), 562);
    EXPECT_GE(f.height(), 444);
#else
    EXPECT_EQ(f.size(), QSize(562, 444));  // the program's fonts fit every control
#endif
    EXPECT_EQ(f.minimumSize(), f.maximumSize());  // can't be resized
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    // "Manual Write" in front
    EXPECT_EQ(control<QTabWidget>("PageControl1")->currentWidget(), control<QWidget>("TabSheet2"));

    EXPECT_EQ(text(control<QLineEdit>("Edit1")), "12340");
    EXPECT_EQ(text(control<QLineEdit>("Edit2")), "100");
    EXPECT_EQ(text(control<QLineEdit>("Edit3")), "10");
    // "POS", not the group's initial "NEG"
    EXPECT_EQ(control<RadioGroup>("RadioGroup3")->itemIndex(), 1);
    EXPECT_EQ(control<RadioGroup>("RadioGroup4")->itemIndex(), 1);
    EXPECT_EQ(control<RadioGroup>("RadioGroup5")->itemIndex(), 3);
    EXPECT_EQ(control<RadioGroup>("RadioGroup1")->itemIndex(), 0);
    EXPECT_EQ(control<RadioGroup>("RadioGroup7")->itemIndex(), 0);
    EXPECT_EQ(control<RadioGroup>("RadioGroup8")->itemIndex(), 0);
    EXPECT_EQ(control<RadioGroup>("RadioGroup9")->itemIndex(), 0);
    EXPECT_EQ(control<RadioGroup>("RadioGroup10")->itemIndex(), 1);
    EXPECT_EQ(control<RadioGroup>("RadioGroup2")->itemIndex(), 0);
    EXPECT_EQ(control<RadioGroup>("RadioGroup6")->itemIndex(), 0);
    EXPECT_FALSE(control<RadioGroup>("RadioGroup6")->isEnabled());
    EXPECT_TRUE(control<RadioGroup>("RadioGroup2")->isEnabled());
    EXPECT_EQ(control<QComboBox>("ComboBox1")->currentText().toStdString(), "com1");
    EXPECT_EQ(control<QComboBox>("ComboBox2")->currentText().toStdString(), "9600");

    // The welcome line, then why the start-up open failed (com1 does not exist here).
    const auto status = memoLines(control<QPlainTextEdit>("Memo2"));
    ASSERT_EQ(status.size(), 2u);
    EXPECT_EQ(status.front(), "Welcome to Tarvex Configurator.");
    EXPECT_EQ(status.back().rfind("Port \"com1\" ", 0), 0u) << status.back();
    EXPECT_TRUE(control<QPlainTextEdit>("Memo3")->toPlainText().isEmpty());
    EXPECT_EQ(control<QPushButton>("Button4")->text().toStdString(), "search");
    EXPECT_FALSE(control<QPushButton>("Button3")->isEnabled());
    for (QLabel* l :
         {control<QLabel>("Label4"), control<QLabel>("Label11"), control<QLabel>("Label9"),
          control<QLabel>("Label10"), control<QLabel>("Label18"), control<QLabel>("Label20")})
        EXPECT_EQ(text(l), "  ");
    for (QLineEdit* e : {control<QLineEdit>("Edit4"), control<QLineEdit>("Edit5"),
                         control<QLineEdit>("Edit6"), control<QLineEdit>("Edit9")})
        EXPECT_EQ(text(e), "");
    for (QWidget* w : {control<QWidget>("Edit7"), control<QWidget>("Edit8"),
                       control<QWidget>("Button12"), control<QWidget>("Memo1")})
        EXPECT_TRUE(w->isHidden());
}

TEST_F(FinderWindowTest, SearchShowsTheFirstMatchAndItsWords) {
    TForm1& f = start();
    click(control<QPushButton>("Button4"));
    EXPECT_EQ(text(control<QLabel>("Label4")), "123.4");
    EXPECT_EQ(text(control<QLabel>("Label11")), "200");
    EXPECT_EQ(text(control<QLabel>("Label9")), "617");
    EXPECT_EQ(text(control<QLabel>("Label10")), "50");
    EXPECT_EQ(text(control<QLabel>("Label18")), "0");
    EXPECT_EQ(text(control<QLabel>("Label20")), "0");
    EXPECT_EQ(text(control<QLineEdit>("Edit4")), "000000C8");
    EXPECT_EQ(text(control<QLineEdit>("Edit5")), "00026901");
    EXPECT_EQ(text(control<QLineEdit>("Edit6")), "000D8093");
    EXPECT_EQ(text(control<QLineEdit>("Edit9")), "000D8092");
    EXPECT_EQ(control<QPushButton>("Button4")->text().toStdString(), "next");
    EXPECT_TRUE(control<QPushButton>("Button3")->isEnabled());
    EXPECT_EQ(f.CurrentR, 50);
    // the click empties the welcome line
    EXPECT_TRUE(control<QPlainTextEdit>("Memo2")->toPlainText().isEmpty());
}

TEST_F(FinderWindowTest, TarvexDFromTheSettingsFileSplitsNIntoAAndB) {
    writeFile("TVCONFIG.INI", "[Tarvex]\r\nVersion=1\r\n");
    start();
    EXPECT_EQ(control<RadioGroup>("RadioGroup6")->itemIndex(), 1);
    EXPECT_FALSE(control<RadioGroup>("RadioGroup6")->isEnabled());
    click(control<QPushButton>("Button4"));
    EXPECT_EQ(text(control<QLabel>("Label18")), "9");
    EXPECT_EQ(text(control<QLabel>("Label20")), "38");
    EXPECT_EQ(text(control<QLineEdit>("Edit5")), "00002625");
    EXPECT_EQ(text(control<QLineEdit>("Edit6")), "004D8093");
    EXPECT_EQ(text(control<QLineEdit>("Edit9")), "004D8092");
}

TEST_F(FinderWindowTest, NextRunsToTheNLimitAndPrevStepsBack) {
    TForm1& f = start();
    for (int i = 0; i < 13; ++i) click(control<QPushButton>("Button4"));  // R 50, 100, ... 650
    EXPECT_EQ(text(control<QLabel>("Label10")), "650");
    EXPECT_EQ(text(control<QLabel>("Label9")), "8021");
    click(control<QPushButton>("Button4"));
    EXPECT_EQ(memoLines(control<QPlainTextEdit>("Memo2")),
              std::vector<std::string>{"Ratio was not found in N of 8191 or less"});
    EXPECT_FALSE(control<QPushButton>("Button4")->isEnabled());
    EXPECT_EQ(f.CurrentR, 664);
    EXPECT_EQ(text(control<QLabel>("Label10")), "650");  // the last match stays on screen

    click(control<QPushButton>("Button3"));  // prev leaves the stopped state
    EXPECT_TRUE(control<QPushButton>("Button4")->isEnabled());
    EXPECT_EQ(text(control<QLabel>("Label10")), "650");
    click(control<QPushButton>("Button3"));
    EXPECT_EQ(text(control<QLabel>("Label10")), "600");
    EXPECT_EQ(text(control<QLabel>("Label9")), "7404");
}

TEST_F(FinderWindowTest, PrevBelowTheFirstMatchEndsInReset) {
    TForm1& f = start();
    click(control<QPushButton>("Button4"));
    click(control<QPushButton>("Button3"));
    EXPECT_EQ(memoLines(control<QPlainTextEdit>("Memo2")),
              std::vector<std::string>{"Ratio was not found"});
    EXPECT_EQ(f.CurrentR, 0);
    EXPECT_EQ(control<QPushButton>("Button4")->text().toStdString(), "search");
    EXPECT_FALSE(control<QPushButton>("Button3")->isEnabled());
    EXPECT_EQ(text(control<QLabel>("Label10")), "  ");
    EXPECT_EQ(text(control<QLineEdit>("Edit4")), "");
}

TEST_F(FinderWindowTest, AnyKeyReleasedInAFrequencyFieldResetsTheFinder) {
    TForm1& f = start();
    for (QLineEdit* e :
         {control<QLineEdit>("Edit1"), control<QLineEdit>("Edit2"), control<QLineEdit>("Edit3")}) {
        click(control<QPushButton>("Button4"));
        ASSERT_EQ(control<QPushButton>("Button4")->text().toStdString(), "next");
        control<QPlainTextEdit>("Memo2")->setPlainText(QStringLiteral("older text"));
        releaseKey(e, Qt::Key_Shift);  // the text does not change
        EXPECT_EQ(control<QPushButton>("Button4")->text().toStdString(), "search");
        EXPECT_EQ(f.CurrentR, 0);
        EXPECT_TRUE(control<QPlainTextEdit>("Memo2")->toPlainText().isEmpty());
        EXPECT_EQ(text(control<QLineEdit>("Edit4")), "");
    }
    // The words of the last match outlive the reset.
    EXPECT_EQ(f.latchSet.RefReg, 0xC8);
    click(control<QPushButton>("Button5"));
    EXPECT_EQ(f.latchSet.NReg, 0x26901);
}

TEST_F(FinderWindowTest, ABadInputShowsTheErrorBoxAndLeavesTheState) {
    TForm1& f = start();
    click(control<QPushButton>("Button4"));
    typeInto(control<QLineEdit>("Edit1"), QStringLiteral("12x"));  // resets the finder
    click(control<QPushButton>("Button4"));
    ASSERT_EQ(m_boxes->errors.size(), 1u);
    EXPECT_EQ(m_boxes->errors[0], "'12x' は浮動小数点数ではありません.");
    EXPECT_EQ(control<QPushButton>("Button4")->text().toStdString(), "search");
    EXPECT_EQ(f.CurrentR, 0);

    typeInto(control<QLineEdit>("Edit1"), QStringLiteral("12340"));
    typeInto(control<QLineEdit>("Edit2"), QStringLiteral("0"));
    click(control<QPushButton>("Button4"));
    ASSERT_EQ(m_boxes->errors.size(), 2u);
    EXPECT_EQ(m_boxes->errors[1], "0 による浮動小数点数除算.");
    EXPECT_EQ(f.CurrentR, 0);

    // The program goes on: a good input works again.
    typeInto(control<QLineEdit>("Edit2"), QStringLiteral("100"));
    click(control<QPushButton>("Button4"));
    EXPECT_EQ(text(control<QLabel>("Label10")), "50");
}

TEST_F(FinderWindowTest, ANegativeNIsShownButNotEncoded) {
    TForm1& f = start();
    click(control<QPushButton>("Button4"));  // words of R 50, N 617
    typeInto(control<QLineEdit>("Edit2"), QStringLiteral("-100"));
    click(control<QPushButton>("Button4"));
    EXPECT_EQ(text(control<QLabel>("Label9")), "-617");
    EXPECT_EQ(text(control<QLabel>("Label10")), "50");
    ASSERT_EQ(m_boxes->errors.size(), 1u);
    EXPECT_NE(m_boxes->errors[0].find("-617"), std::string::npos);
    // The N word keeps the last value that fits, and no result edit was written.
    EXPECT_EQ(f.latchSet.NReg, 0x26901);
    EXPECT_EQ(text(control<QLineEdit>("Edit5")), "");
    EXPECT_EQ(
        memoLines(control<QPlainTextEdit>("Memo2")),
        std::vector<std::string>{"Tarvex S cannot divide N -617: N -617 breaks 1 ≤ N ≤ 8191."});
}

// The finder's texts stay; one line in Memo2 says what the chip cannot divide by.
TEST_F(FinderWindowTest, AMatchThatBreaksACounterRuleGetsOneLine) {
    writeFile("TVCONFIG.INI",
              "[Frequency]\r\nLocalOutput=470\r\nMultiplier=1\r\nSTD=10\r\n"
              "[Tarvex]\r\nVersion=1\r\n");  // Tarvex D, PSC 16/17
    start();
    click(control<QPushButton>("Button4"));
    EXPECT_EQ(text(control<QLabel>("Label10")) + " " + text(control<QLabel>("Label9")) + " " +
                  text(control<QLabel>("Label18")) + " " + text(control<QLabel>("Label20")),
              "1 47 15 2");
    EXPECT_EQ(text(control<QLineEdit>("Edit5")), "0000023D");
    EXPECT_EQ(memoLines(control<QPlainTextEdit>("Memo2")),
              std::vector<std::string>{
                  "Tarvex D cannot divide N 47 with PSC 16/17: B 2, A 15 breaks B ≥ 3 and B ≥ A; "
                  "no PSC item splits it within the rules."});
    // A match within the rules gets no line; prev to R 4 (N 188) names the item that splits it.
    for (int i = 0; i < 4; ++i) click(control<QPushButton>("Button4"));  // R 2 to 5
    EXPECT_EQ(text(control<QLabel>("Label10")), "5");
    EXPECT_TRUE(control<QPlainTextEdit>("Memo2")->toPlainText().isEmpty());
    click(control<QPushButton>("Button3"));
    EXPECT_EQ(memoLines(control<QPlainTextEdit>("Memo2")),
              std::vector<std::string>{"Tarvex D cannot divide N 188 with PSC 16/17: B 11, A 12 "
                                       "breaks B ≥ A; PSC 8/9 splits it as B 23, A 4."});
    EXPECT_TRUE(m_boxes->errors.empty());
}

TEST_F(FinderWindowTest, OptionsChosenOnScreenGoIntoTheNextMatchOnly) {
    start();
    click(control<QPushButton>("Button4"));
    clickItem(control<RadioGroup>("RadioGroup5"), 7);          // 5 mA: bits 20..15 all one
    clickItem(control<RadioGroup>("RadioGroup3"), 0);          // NEG
    EXPECT_EQ(text(control<QLineEdit>("Edit6")), "000D8093");  // unchanged until the next match
    click(control<QPushButton>("Button5"));
    click(control<QPushButton>("Button4"));
    EXPECT_EQ(text(control<QLineEdit>("Edit6")), "001F8013");
    EXPECT_EQ(text(control<QLineEdit>("Edit9")), "001F8012");
}

TEST_F(FinderWindowTest, EraseButtonsDoNothing) {
    start();
    click(control<QPushButton>("Button4"));
    const QString memo = control<QPlainTextEdit>("Memo2")->toPlainText();
    for (QPushButton* b : {control<QPushButton>("Button7"), control<QPushButton>("Button8"),
                           control<QPushButton>("Button9")})
        click(b);
    EXPECT_EQ(control<QPlainTextEdit>("Memo2")->toPlainText(), memo);
    EXPECT_TRUE(m_boxes->errors.empty());
    EXPECT_TRUE(m_boxes->messages.size() <= 1u);  // only the start-up "Error"
}

}  // namespace
}  // namespace tv::testing
