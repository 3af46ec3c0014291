// The ratio finder and the latch words as the operator sees them in the window.
#include <QTabWidget>

#include "window_fixture.h"

namespace tv::testing {
namespace {

using FinderWindowTest = WindowTest;

std::string text(const QLabel* l) { return l->text().toStdString(); }
std::string text(const QLineEdit* e) { return e->text().toStdString(); }

TEST_F(FinderWindowTest, StartsWithTheDefaultsWhenThereIsNoSettingsFile) {
    TForm1& f = start();
    EXPECT_EQ(f.windowTitle().toStdString(), "Tarvex-D tpye1 Configurator  V1.0");
    EXPECT_EQ(f.objectName().toStdString(), "Form1");
    EXPECT_EQ(f.size(), QSize(562, 444));
    EXPECT_EQ(f.minimumSize(), f.maximumSize());  // can't be resized
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(f.PageControl1->currentWidget(), f.TabSheet2);  // "Manual Write" in front

    EXPECT_EQ(text(f.Edit1), "12340");
    EXPECT_EQ(text(f.Edit2), "100");
    EXPECT_EQ(text(f.Edit3), "10");
    EXPECT_EQ(f.RadioGroup3->itemIndex(), 1);  // "POS", not the group's initial "NEG"
    EXPECT_EQ(f.RadioGroup4->itemIndex(), 1);
    EXPECT_EQ(f.RadioGroup5->itemIndex(), 3);
    EXPECT_EQ(f.RadioGroup1->itemIndex(), 0);
    EXPECT_EQ(f.RadioGroup7->itemIndex(), 0);
    EXPECT_EQ(f.RadioGroup8->itemIndex(), 0);
    EXPECT_EQ(f.RadioGroup9->itemIndex(), 0);
    EXPECT_EQ(f.RadioGroup10->itemIndex(), 1);
    EXPECT_EQ(f.RadioGroup2->itemIndex(), 0);
    EXPECT_EQ(f.RadioGroup6->itemIndex(), 0);
    EXPECT_FALSE(f.RadioGroup6->isEnabled());
    EXPECT_TRUE(f.RadioGroup2->isEnabled());
    EXPECT_EQ(f.ComboBox1->currentText().toStdString(), "com1");
    EXPECT_EQ(f.ComboBox2->currentText().toStdString(), "9600");

    // The welcome line, then why the start-up open failed (com1 does not exist here).
    const auto status = memoLines(f.Memo2);
    ASSERT_EQ(status.size(), 2u);
    EXPECT_EQ(status.front(), "Welcome to Tarvex Configurator.");
    EXPECT_EQ(status.back().rfind("Port \"com1\" (", 0), 0u);
    EXPECT_TRUE(f.Memo3->toPlainText().isEmpty());
    EXPECT_EQ(f.Button4->text().toStdString(), "search");
    EXPECT_FALSE(f.Button3->isEnabled());
    for (QLabel* l : {f.Label4, f.Label11, f.Label9, f.Label10, f.Label18, f.Label20})
        EXPECT_EQ(text(l), "  ");
    for (QLineEdit* e : {f.Edit4, f.Edit5, f.Edit6, f.Edit9}) EXPECT_EQ(text(e), "");
    for (QWidget* w : {static_cast<QWidget*>(f.Edit7), static_cast<QWidget*>(f.Edit8),
                       static_cast<QWidget*>(f.Button12), static_cast<QWidget*>(f.Memo1)})
        EXPECT_TRUE(w->isHidden());
}

TEST_F(FinderWindowTest, SearchShowsTheFirstMatchAndItsWords) {
    TForm1& f = start();
    click(f.Button4);
    EXPECT_EQ(text(f.Label4), "123.4");
    EXPECT_EQ(text(f.Label11), "200");
    EXPECT_EQ(text(f.Label9), "617");
    EXPECT_EQ(text(f.Label10), "50");
    EXPECT_EQ(text(f.Label18), "0");
    EXPECT_EQ(text(f.Label20), "0");
    EXPECT_EQ(text(f.Edit4), "000000C8");
    EXPECT_EQ(text(f.Edit5), "00026901");
    EXPECT_EQ(text(f.Edit6), "000D8093");
    EXPECT_EQ(text(f.Edit9), "000D8092");
    EXPECT_EQ(f.Button4->text().toStdString(), "next");
    EXPECT_TRUE(f.Button3->isEnabled());
    EXPECT_EQ(f.CurrentR, 50);
    EXPECT_TRUE(f.Memo2->toPlainText().isEmpty());  // the click empties the welcome line
}

TEST_F(FinderWindowTest, TarvexDFromTheSettingsFileSplitsNIntoAAndB) {
    writeFile("TVCONFIG.INI", "[Tarvex]\r\nVersion=1\r\n");
    TForm1& f = start();
    EXPECT_EQ(f.RadioGroup6->itemIndex(), 1);
    EXPECT_FALSE(f.RadioGroup6->isEnabled());
    click(f.Button4);
    EXPECT_EQ(text(f.Label18), "9");
    EXPECT_EQ(text(f.Label20), "38");
    EXPECT_EQ(text(f.Edit5), "00002625");
    EXPECT_EQ(text(f.Edit6), "004D8093");
    EXPECT_EQ(text(f.Edit9), "004D8092");
}

TEST_F(FinderWindowTest, NextRunsToTheNLimitAndPrevStepsBack) {
    TForm1& f = start();
    for (int i = 0; i < 13; ++i) click(f.Button4);  // R 50, 100, ... 650
    EXPECT_EQ(text(f.Label10), "650");
    EXPECT_EQ(text(f.Label9), "8021");
    click(f.Button4);
    EXPECT_EQ(memoLines(f.Memo2),
              std::vector<std::string>{"Ratio was not found in N of 8191 or less"});
    EXPECT_FALSE(f.Button4->isEnabled());
    EXPECT_EQ(f.CurrentR, 664);
    EXPECT_EQ(text(f.Label10), "650");  // the last match stays on screen

    click(f.Button3);  // prev leaves the stopped state
    EXPECT_TRUE(f.Button4->isEnabled());
    EXPECT_EQ(text(f.Label10), "650");
    click(f.Button3);
    EXPECT_EQ(text(f.Label10), "600");
    EXPECT_EQ(text(f.Label9), "7404");
}

TEST_F(FinderWindowTest, PrevBelowTheFirstMatchEndsInReset) {
    TForm1& f = start();
    click(f.Button4);
    click(f.Button3);
    EXPECT_EQ(memoLines(f.Memo2), std::vector<std::string>{"Ratio was not found"});
    EXPECT_EQ(f.CurrentR, 0);
    EXPECT_EQ(f.Button4->text().toStdString(), "search");
    EXPECT_FALSE(f.Button3->isEnabled());
    EXPECT_EQ(text(f.Label10), "  ");
    EXPECT_EQ(text(f.Edit4), "");
}

TEST_F(FinderWindowTest, AnyKeyReleasedInAFrequencyFieldResetsTheFinder) {
    TForm1& f = start();
    for (QLineEdit* e : {f.Edit1, f.Edit2, f.Edit3}) {
        click(f.Button4);
        ASSERT_EQ(f.Button4->text().toStdString(), "next");
        f.Memo2->setPlainText(QStringLiteral("older text"));
        releaseKey(e, Qt::Key_Shift);  // the text does not change
        EXPECT_EQ(f.Button4->text().toStdString(), "search");
        EXPECT_EQ(f.CurrentR, 0);
        EXPECT_TRUE(f.Memo2->toPlainText().isEmpty());
        EXPECT_EQ(text(f.Edit4), "");
    }
    // The words of the last match outlive the reset.
    EXPECT_EQ(f.latchSet.RefReg, 0xC8);
    click(f.Button5);
    EXPECT_EQ(f.latchSet.NReg, 0x26901);
}

TEST_F(FinderWindowTest, ABadInputShowsTheErrorBoxAndLeavesTheState) {
    TForm1& f = start();
    click(f.Button4);
    typeInto(f.Edit1, QStringLiteral("12x"));  // resets the finder
    click(f.Button4);
    ASSERT_EQ(m_boxes->errors.size(), 1u);
    EXPECT_EQ(m_boxes->errors[0], "'12x' は浮動小数点数ではありません.");
    EXPECT_EQ(f.Button4->text().toStdString(), "search");
    EXPECT_EQ(f.CurrentR, 0);

    typeInto(f.Edit1, QStringLiteral("12340"));
    typeInto(f.Edit2, QStringLiteral("0"));
    click(f.Button4);
    ASSERT_EQ(m_boxes->errors.size(), 2u);
    EXPECT_EQ(m_boxes->errors[1], "0 による浮動小数点数除算.");
    EXPECT_EQ(f.CurrentR, 0);

    // The program goes on: a good input works again.
    typeInto(f.Edit2, QStringLiteral("100"));
    click(f.Button4);
    EXPECT_EQ(text(f.Label10), "50");
}

TEST_F(FinderWindowTest, ANegativeNIsShownButNotEncoded) {
    TForm1& f = start();
    click(f.Button4);  // words of R 50, N 617
    typeInto(f.Edit2, QStringLiteral("-100"));
    click(f.Button4);
    EXPECT_EQ(text(f.Label9), "-617");
    EXPECT_EQ(text(f.Label10), "50");
    ASSERT_EQ(m_boxes->errors.size(), 1u);
    EXPECT_NE(m_boxes->errors[0].find("-617"), std::string::npos);
    // The N word keeps the last value that fits, and no result edit was written.
    EXPECT_EQ(f.latchSet.NReg, 0x26901);
    EXPECT_EQ(text(f.Edit5), "");
}

TEST_F(FinderWindowTest, OptionsChosenOnScreenGoIntoTheNextMatchOnly) {
    TForm1& f = start();
    click(f.Button4);
    clickItem(f.RadioGroup5, 7);  // 5 mA: bits 20..15 all one
    clickItem(f.RadioGroup3, 0);  // NEG
    EXPECT_EQ(text(f.Edit6), "000D8093");  // unchanged until the next match
    click(f.Button5);
    click(f.Button4);
    EXPECT_EQ(text(f.Edit6), "001F8013");
    EXPECT_EQ(text(f.Edit9), "001F8012");
}

TEST_F(FinderWindowTest, EraseButtonsDoNothing) {
    TForm1& f = start();
    click(f.Button4);
    const QString memo = f.Memo2->toPlainText();
    for (QPushButton* b : {f.Button7, f.Button8, f.Button9}) click(b);
    EXPECT_EQ(f.Memo2->toPlainText(), memo);
    EXPECT_TRUE(m_boxes->errors.empty());
    EXPECT_TRUE(m_boxes->messages.size() <= 1u);  // only the start-up "Error"
}

}  // namespace
}  // namespace tv::testing
