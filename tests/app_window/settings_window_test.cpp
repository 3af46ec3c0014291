// TVCONFIG.INI as the operator meets it: read at start-up into the controls and
// written back at close, keeping everything else the file holds.
#ifndef _WIN32
#include <unistd.h>
#endif

#include <QApplication>
#include <cerrno>
#include <cstring>

#include "app/close_request.h"
#include "tests/support/window_fixture.h"

namespace tv::testing {
namespace {

using SettingsWindowTest = WindowTest;

TEST_F(SettingsWindowTest, CraftedFileSelectsTheControls) {
    writeFile("TVCONFIG.INI",
              "; kept comment\r\n"
              "[rs232c1]\r\nportname=0x2\r\nBAUD=0\r\n"
              "[Memory]\r\nChannel=9\r\n"
              "[PD]\r\nPol=0\r\ncurrent1=$7\r\nLDP=1\r\nAntiBackLash=2\r\nTimerCountCTRL=15\r\n"
              "CPOut=1\r\n"
              "[MUX]\r\nOut=oops\r\n"
              "[Frequency]\r\nLocalOutput=not a number\r\nMultiplier=7\r\nSTD=12.8\r\n"
              "[PSC]\r\nVALUE=2\r\n"
              "[Unknown]\r\nkeep=me\r\n");
    start();
    EXPECT_EQ(control<QComboBox>("ComboBox1")->currentText().toStdString(), "com3");
    // 9 is clamped to the last channel
    EXPECT_EQ(control<RadioGroup>("RadioGroup2")->itemIndex(), 7);
    EXPECT_EQ(control<RadioGroup>("RadioGroup3")->itemIndex(), 0);
    EXPECT_EQ(control<RadioGroup>("RadioGroup5")->itemIndex(), 7);
    EXPECT_EQ(control<RadioGroup>("RadioGroup1")->itemIndex(), 1);
    EXPECT_EQ(control<RadioGroup>("RadioGroup7")->itemIndex(), 2);
    EXPECT_EQ(control<RadioGroup>("RadioGroup8")->itemIndex(), 15);
    EXPECT_EQ(control<RadioGroup>("RadioGroup9")->itemIndex(), 1);
    EXPECT_EQ(control<RadioGroup>("RadioGroup4")->itemIndex(), 1);  // unreadable: the default
    EXPECT_EQ(control<RadioGroup>("RadioGroup10")->itemIndex(), 2);
    EXPECT_EQ(control<QLineEdit>("Edit1")->text().toStdString(), "not a number");
    EXPECT_EQ(control<QLineEdit>("Edit2")->text().toStdString(), "7");
    EXPECT_EQ(control<QLineEdit>("Edit3")->text().toStdString(), "12.8");
}

TEST_F(SettingsWindowTest, ANewFileHoldsTheFifteenEntriesInWritingOrder) {
    TForm1& f = start();
    ASSERT_TRUE(closeWindow());
    (void)f;
    EXPECT_EQ(readFile("TVCONFIG.INI"),
              "[Frequency]\nLocalOutput=12340\nMultiplier=100\nSTD=10\n\n"
              "[rs232c1]\nportname=0\nBAUD=0\n\n"
              "[PD]\nPol=1\ncurrent1=3\nLDP=0\nAntiBackLash=0\nTimerCountCTRL=0\nCPOut=0\n\n"
              "[MUX]\nOut=1\n\n"
              "[Memory]\nChannel=0\n\n"
              "[PSC]\nValue=1\n\n"
              "[Tarvex]\nVersion=0\n");
}

TEST_F(SettingsWindowTest, ChoicesSurviveARestartAndOtherLinesAreKept) {
    writeFile("TVCONFIG.INI",
              "; operator's notes\r\n[PSC]\r\nVALUE=2\r\n\r\n[Bench]\r\nscope=on\r\n");
    {
        start();
        clickItem(control<RadioGroup>("RadioGroup10"), 3);
        clickItem(control<RadioGroup>("RadioGroup2"), 5);
        clickItem(control<RadioGroup>("RadioGroup4"), 6);
        typeInto(control<QLineEdit>("Edit1"), QStringLiteral("5800.5"));
        ASSERT_TRUE(closeWindow());
        m_form.reset();
    }
    const std::string saved = readFile("TVCONFIG.INI");
    EXPECT_EQ(
        saved.rfind("; operator's notes\r\n[PSC]\r\nVALUE=3\r\n\r\n[Bench]\r\nscope=on\r\n", 0), 0u)
        << saved;
    EXPECT_EQ(saved.find("Value="), std::string::npos);  // the same entry, not a second one
    start();
    EXPECT_EQ(control<RadioGroup>("RadioGroup10")->itemIndex(), 3);
    EXPECT_EQ(control<RadioGroup>("RadioGroup2")->itemIndex(), 5);
    EXPECT_EQ(control<RadioGroup>("RadioGroup4")->itemIndex(), 6);
    EXPECT_EQ(control<QLineEdit>("Edit1")->text().toStdString(), "5800.5");
}

TEST_F(SettingsWindowTest, TheCloseButtonSavesLikeTheTitleBar) {
    TForm1& f = start();
    clickItem(control<RadioGroup>("RadioGroup9"), 1);
    click(control<QPushButton>("BitBtn1"));
    QApplication::processEvents();
    EXPECT_FALSE(f.isVisible());
    EXPECT_NE(readFile("TVCONFIG.INI").find("CPOut=1\n"), std::string::npos);
}

TEST_F(SettingsWindowTest, ComboAndGroupIndicesOutsideTheirListsWriteMinusOne) {
    writeFile("TVCONFIG.INI", "[rs232c1]\nportname=-1\nBAUD=12\n[Memory]\nChannel=-5\n");
    TForm1& f = start();
    EXPECT_EQ(control<QComboBox>("ComboBox1")->currentIndex(), -1);
    // initial text stays
    EXPECT_EQ(control<QComboBox>("ComboBox1")->currentText().toStdString(), "ComboBox1");
    EXPECT_EQ(control<QComboBox>("ComboBox2")->currentIndex(), -1);
    EXPECT_EQ(control<RadioGroup>("RadioGroup2")->itemIndex(), -1);
    // The empty port name cannot be opened.
    EXPECT_EQ(m_boxes->messages, std::vector<std::string>{"Error"});
    EXPECT_TRUE(control<QPushButton>("Button1")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("Button2")->isEnabled());
    // "set" with no channel selected changes nothing.
    click(control<QPushButton>("Button4"));
    click(control<QPushButton>("Button14"));
    for (int c = 0; c < 8; ++c) EXPECT_EQ(f.channelTable.description[static_cast<size_t>(c)], "");
    ASSERT_TRUE(closeWindow());
    const std::string saved = readFile("TVCONFIG.INI");
    EXPECT_NE(saved.find("portname=-1\n"), std::string::npos);
    EXPECT_NE(saved.find("BAUD=-1\n"), std::string::npos);
    EXPECT_NE(saved.find("Channel=-1\n"), std::string::npos);
}

TEST_F(SettingsWindowTest, AFailedWriteKeepsTheWindowOpenAndALaterCloseSavesAgain) {
    namespace fs = std::filesystem;
#ifdef _WIN32
    const bool bitsStopWrites = false;  // a read-only folder still takes new files
#else
    const bool bitsStopWrites = ::geteuid() != 0;  // root writes through permission bits
#endif
    if (bitsStopWrites) {
        fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    } else {
        fs::create_directory(m_dir / "TVCONFIG.INI");  // a directory in its place stops it
    }
    TForm1& f = start();
    EXPECT_FALSE(closeWindow());
    ASSERT_EQ(m_boxes->errors.size(), 1u);
    EXPECT_EQ(m_boxes->errors[0], (m_dir / "TVCONFIG.INI").string() + " に書き込めません.");
    EXPECT_TRUE(f.isVisible());

    std::filesystem::remove(m_dir / "TVCONFIG.INI");
    fs::permissions(m_dir, fs::perms::owner_all);
    EXPECT_TRUE(closeWindow());
    EXPECT_NE(readFile("TVCONFIG.INI").find("[Tarvex]"), std::string::npos);
}

#ifndef _WIN32
// Each way a save can fail for good: the box after it offers to close without
// saving; "Stay open" keeps the window, "Close without saving" closes it, and the
// file is left byte for byte. No permission bits at all stop root too.
TEST_F(SettingsWindowTest, AFailedSaveAtCloseOffersToCloseWithoutSaving) {
    namespace fs = std::filesystem;
    const std::string old = "[PD]\nPol=0\n";
    const struct Row {
        const char* what;
        bool directory;
        fs::perms perms;
    } rows[] = {
        {"read-only file", false, fs::perms::owner_read | fs::perms::group_read},
        {"no permission at all", false, fs::perms::none},
        {"a directory", true, fs::perms::owner_all},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const fs::path path = m_dir / "TVCONFIG.INI";
        if (row.directory) {
            fs::create_directory(path);
        } else {
            writeFile("TVCONFIG.INI", old);
        }
        fs::permissions(path, row.perms);
        *m_boxes = {};
        TForm1& f = start();
        clickItem(control<RadioGroup>("RadioGroup3"), 1);  // a change to lose

        EXPECT_FALSE(closeWindow());
        EXPECT_EQ(m_boxes->errors, std::vector<std::string>{path.string() + " に書き込めません."});
        EXPECT_TRUE(f.isVisible());

        m_boxes->closeWithoutSaving = true;
        EXPECT_TRUE(closeWindow());
        EXPECT_EQ(m_boxes->closeQuestions, 2);
        EXPECT_FALSE(f.isVisible());
        fs::permissions(path, fs::perms::owner_all);
        EXPECT_EQ(fs::is_directory(path) ? "a directory" : readFile("TVCONFIG.INI"),
                  row.directory ? "a directory" : old);
        m_form.reset();
        fs::remove_all(path);
    }
}

TEST_F(SettingsWindowTest, AnUnreadableFileIsNamedInTheStatusMemoAndDefaultsAreShown) {
    namespace fs = std::filesystem;
    const struct Row {
        const char* what;
        bool directory;
        int reason;
        const char* linkTo = nullptr;  // TVCONFIG.INI a link to it
        std::string says = std::strerror(reason);
    } rows[] = {
        {"a directory", true, EISDIR},
        {"no permission to read", false, EACCES},
        {"a link to /dev/null", false, 0, "/dev/null", "a device, not a regular file"},
    };
    for (const Row& row : rows) {
        if (!row.directory && !row.linkTo && ::geteuid() == 0) continue;  // root reads anyway
        SCOPED_TRACE(row.what);
        const fs::path path = m_dir / "TVCONFIG.INI";
        if (row.linkTo) {
            fs::create_symlink(row.linkTo, path);
        } else if (row.directory) {
            fs::create_directory(path);
        } else {
            writeFile("TVCONFIG.INI", "[PD]\nPol=0\n");
            fs::permissions(path, fs::perms::none);
        }
        TForm1& f = start();
        const std::vector<std::string> lines = memoLines(f.Memo2);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[0], "Welcome to Tarvex Configurator.");
        EXPECT_EQ(lines[1],
                  path.string() + " could not be read (" + row.says + "); the defaults are shown.");
        EXPECT_EQ(control<RadioGroup>("RadioGroup3")->itemIndex(), 1);  // POS, the default
        m_boxes->closeWithoutSaving = true;
        ASSERT_TRUE(closeWindow());
        m_form.reset();
        if (!row.linkTo) fs::permissions(path, fs::perms::owner_all);  // not /dev/null's
        fs::remove_all(path);
    }
}
#endif

// Counts the times a widget is shown.
class ShowCounter : public QObject {
public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) ++shows;
        return false;
    }
};

TEST_F(SettingsWindowTest, ACloseAskedForDuringTheStartUpBoxEndsWithoutShowingTheWindow) {
    m_boxes->whileMessageShows = [] { requestClose(); };  // com1 fails: "Error" stands
    m_form = std::make_unique<TForm1>();
    ShowCounter counter;
    m_form->installEventFilter(&counter);
    EXPECT_EQ(m_boxes->messages, std::vector<std::string>{"Error"});
    EXPECT_FALSE(m_form->showAfterStartUp());
    QApplication::processEvents();
    EXPECT_EQ(counter.shows, 0);
    EXPECT_NE(readFile("TVCONFIG.INI").find("[Tarvex]\nVersion=0\n"), std::string::npos);
}

TEST_F(SettingsWindowTest, ACloseAskedForFromOutsideEndsEvenWhenTheSaveCannot) {
    std::filesystem::create_directory(m_dir / "TVCONFIG.INI");
    TForm1& f = start();
    requestClose();
    EXPECT_TRUE(closeWindow());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(m_boxes->closeQuestions, 0);
    EXPECT_TRUE(m_boxes->errors.empty());
    EXPECT_TRUE(std::filesystem::is_directory(m_dir / "TVCONFIG.INI"));
}

}  // namespace
}  // namespace tv::testing
