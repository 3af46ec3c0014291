// Every text on screen is drawn whole: measured with each control's own font
// against the room its style gives the text, and against the controls beside it.
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTabWidget>
#include <QTableView>

#include "app/window_fonts.h"
#include "tests/support/text_faults.h"
#include "tests/support/window_fixture.h"

namespace tv::testing {
namespace {

// ChannelGrid: every column as wide as its title and its cells need, all eight
// rows shown above the sideways scroll bar.
std::vector<std::string> gridFaults(const QTableView& grid) {
    std::vector<std::string> faults;
    for (int c = 0; c < grid.model()->columnCount(); ++c) {
        if (grid.columnWidth(c) <
            std::max(grid.horizontalHeader()->sectionSizeHint(c),
                     static_cast<const QAbstractItemView&>(grid).sizeHintForColumn(c)))
            faults.push_back("column " + std::to_string(c) + " narrower than its texts");
    }
    if (grid.rowViewportPosition(7) + grid.rowHeight(7) > grid.viewport()->height())
        faults.push_back("ch7 hidden below the grid's view");
    return faults;
}

class TextFitWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
#ifdef _WIN32
        // scripts/test-windows-look.sh runs these on Wine's own display.
        if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
            GTEST_SKIP() << "Qt's offscreen platform on Windows has no font database, so no text "
                            "can be measured there";
#endif
    }
};

TEST_F(TextFitWindowTest, TheProgramsFontsAreTheOnesMeasured) {
    start();
#ifdef _WIN32
    // MS PGothic where Windows has it, else (as under Wine) the IPA pair: one
    // of them really installed, and the one the window asked for.
    const WindowFontFamilies families = windowFontFamilies();
    ASSERT_TRUE(QFontDatabase::hasFamily(families.proportional))
        << families.proportional.toStdString();
    EXPECT_EQ(QFontInfo(control<QLabel>("Label1")->font()).family(), families.proportional);
    EXPECT_EQ(QFontInfo(control<QLineEdit>("Edit9")->font()).family(), families.fixedPitch);
    return;
#endif
    EXPECT_EQ(QFontInfo(control<QLabel>("Label1")->font()).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(QFontInfo(control<QLineEdit>("Edit9")->font()).family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(QFontInfo(control<QPlainTextEdit>("Memo3")->font()).family(),
              QStringLiteral("IPAGothic"));
}

TEST_F(TextFitWindowTest, NoTextIsCutOrDrawnUnderAnotherControl) {
    // Every page in front in turn, and the finder's longest results: LocalOutput
    // 1001, Multiplier 3, STD 13 give VCO and PD of 16 digits.
    for (const bool longResults : {false, true}) {
        start();
        if (longResults) {
            typeInto(control<QLineEdit>("Edit1"), QStringLiteral("1001"));
            typeInto(control<QLineEdit>("Edit2"), QStringLiteral("3"));
            typeInto(control<QLineEdit>("Edit3"), QStringLiteral("13"));
            click(control<QPushButton>("Button4"));
            ASSERT_EQ(control<QLabel>("Label4")->text(), QStringLiteral("333.666666666667"));
            ASSERT_EQ(control<QLabel>("Label11")->text(), QStringLiteral("4333.33333333333"));
            click(control<QPushButton>("Button14"));  // the long figures in the grid too
        }
        auto* pages = control<QTabWidget>("PageControl1");
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            SCOPED_TRACE(pages->currentWidget()->objectName().toStdString() +
                         (longResults ? " with long results" : ""));
            EXPECT_EQ(textFaults(*m_form), std::vector<std::string>{});
        }
        EXPECT_EQ(gridFaults(*control<QTableView>("ChannelGrid")), std::vector<std::string>{});
        m_form.reset();
    }
}

}  // namespace
}  // namespace tv::testing
