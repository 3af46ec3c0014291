// Every text on screen is drawn whole: measured with each control's own font
// against the room its style gives the text, and against the controls beside it.
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QTabWidget>

#include "app/window_fonts.h"
#include "tests/support/text_faults.h"
#include "tests/support/window_fixture.h"

namespace tv::testing {
namespace {

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
        }
        auto* pages = control<QTabWidget>("PageControl1");
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            SCOPED_TRACE(pages->currentWidget()->objectName().toStdString() +
                         (longResults ? " with long results" : ""));
            EXPECT_EQ(textFaults(*m_form), std::vector<std::string>{});
        }
        m_form.reset();
    }
}

}  // namespace
}  // namespace tv::testing
