// The window answers the keyboard: Tab walks each page in reading order with a
// radio group as one stop, every button can be pressed, Ctrl+Tab turns the
// page, Alt+C closes, and each field is named after its label.
#include <QApplication>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>

#include "app/pages/reading_order.h"
#include "tests/support/window_fixture.h"

namespace tv::testing {
namespace {

class KeyboardWindowTest : public WindowTest {
protected:
    // The window shown and active, so that focus and shortcuts work.
    void startActive() {
        start();
        QApplication::setActiveWindow(m_form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : m_form.get(), key, modifiers);
    }
    // The named control that has the focus: a radio item answers for its group,
    // a combo box's edit for the box.
    static std::string focusName() {
        QWidget* w = QApplication::focusWidget();
        while (w && (w->objectName().isEmpty() || qobject_cast<QRadioButton*>(w) ||
                     qobject_cast<QComboBox*>(w->parentWidget())))
            w = w->parentWidget();
        return w ? w->objectName().toStdString() : "(nothing)";
    }
};

TEST_F(KeyboardWindowTest, TabWalksEachPageInReadingOrder) {
    struct Case {
        const char* page;
        // After the tab bar, until it again; disabled controls are no stops: "prev"
        // before a search, "Close" while the port is closed.
        std::vector<std::string> stops;
    };
    const Case cases[] = {
        {"TabSheet1",
         {"Button7", "Button8", "Button9", "Button10", "Button11", "Memo3", "Button13", "Memo2",
          "BitBtn1"}},
        {"TabSheet2",
         {"Edit1",       "Edit2",       "Edit3",       "RadioGroup3", "RadioGroup4",  "RadioGroup5",
          "RadioGroup1", "RadioGroup7", "RadioGroup8", "RadioGroup9", "RadioGroup10", "Button4",
          "Button5",     "Edit6",       "Edit4",       "Edit5",       "Edit9",        "RadioGroup2",
          "Button14",    "Button6",     "Button15",    "Memo2",       "BitBtn1"}},
        {"TabSheet3", {"ComboBox1", "ComboBox2", "Button1", "Memo2", "BitBtn1"}},
        // "Read unit" and "Take unit's channels" wait for an open port and a read.
        {"TabSheet4",
         {"ChannelGrid", "OpenHeaderButton", "SaveHeaderAsButton", "Memo2", "BitBtn1"}},
    };
    startActive();
    auto* pages = control<QTabWidget>("PageControl1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        pages->setCurrentWidget(control<QWidget>(c.page));
        pages->tabBar()->setFocus();
        std::vector<std::string> stops;
        for (size_t i = 0; i <= c.stops.size() + 2; ++i) {
            press(Qt::Key_Tab);
            if (QApplication::focusWidget() == pages->tabBar()) break;
            stops.push_back(focusName());
        }
        EXPECT_EQ(stops, c.stops);
    }
}

TEST_F(KeyboardWindowTest, EveryButtonOnThePagesIsPressedBySpace) {
    startActive();
    auto* pages = control<QTabWidget>("PageControl1");
    int pressed = 0;
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        for (QWidget* w : readingOrder(pages->widget(i))) {
            auto* b = qobject_cast<QPushButton*>(w);
            if (!b || !b->isVisible() || !b->isEnabled()) continue;
            SCOPED_TRACE(b->objectName().toStdString());
            b->setFocus();
            QSignalSpy clicked(b, &QPushButton::clicked);
            press(Qt::Key_Space);
            EXPECT_EQ(clicked.count(), 1);
            ++pressed;
        }
    }
    EXPECT_GE(pressed, 12);
}

TEST_F(KeyboardWindowTest, CtrlTabTurnsThePageAndAltCCloses) {
    startActive();
    auto* pages = control<QTabWidget>("PageControl1");
    control<QLineEdit>("Edit1")->setFocus();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* page;
    } turns[] = {
        {Qt::Key_Tab, Qt::ControlModifier, "TabSheet3"},
        {Qt::Key_Tab, Qt::ControlModifier, "TabSheet4"},
        {Qt::Key_Tab, Qt::ControlModifier, "TabSheet1"},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, "TabSheet4"},
    };
    for (const auto& turn : turns) {
        press(turn.key, turn.modifiers);
        EXPECT_EQ(pages->currentWidget()->objectName().toStdString(), turn.page);
    }
    QSignalSpy clicked(control<QPushButton>("BitBtn1"), &QPushButton::clicked);
    press(Qt::Key_C, Qt::AltModifier);
    // A mnemonic presses the button as a click seen on screen, a moment later.
    EXPECT_TRUE(clicked.wait(2000));
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(KeyboardWindowTest, EachFieldIsNamedAfterItsLabel) {
    const std::pair<const char*, const char*> fields[] = {
        {"Edit1", "LocalOutput(MHz)"}, {"Edit2", "Multiplier(Order)"}, {"Edit3", "STD(MHz)"},
        {"Edit6", "1.InitReg"},        {"Edit4", "2.RefReg"},          {"Edit5", "3.NReg"},
        {"Edit9", "4.FuncReg"},        {"ChannelGrid", "Channels"},
    };
    start();
    for (const auto& [field, name] : fields)
        EXPECT_EQ(control<QWidget>(field)->accessibleName().toStdString(), name) << field;
}

}  // namespace
}  // namespace tv::testing
