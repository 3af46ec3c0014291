// Channels that come back: a header written by "save", dropped on the window or
// named on the command line, fills the channel table; anything else changes nothing.
#include <QApplication>
#include <QMimeData>
#include <QUrl>
#include <clocale>

#include "device/header_export.h"
#include "os/local_time.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/window_fixture.h"

namespace tv::testing {
namespace {

using test::FixedClock;

class HeaderLoadWindowTest : public WindowTest {
protected:
    // `table` as "save" writes it, in the test directory; returns its path.
    std::string saved(const ChannelTable& table, const std::string& name) {
        std::tm when{};
        when.tm_year = 124;
        when.tm_mday = 1;
        when.tm_hour = 12;
        writeFile(name, headerText(table, when));
        return (m_dir / name).string();
    }
    // Drags files from a file manager over `target` and lets go; returns whether
    // the drag was taken.
    bool drop(QWidget* target, const std::vector<std::string>& paths) {
        QList<QUrl> urls;
        for (const std::string& p : paths)
            urls.push_back(QUrl::fromLocalFile(QString::fromStdString(p)));
        QMimeData data;
        data.setUrls(urls);
        data.setText(urls.front().toString());  // file managers offer the text too
        const QPoint at(5, 5);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        return dropped.isAccepted();
    }
    static void expectTable(const ChannelTable& got, const ChannelTable& want) {
        EXPECT_EQ(got.InitReg, want.InitReg);
        EXPECT_EQ(got.RefReg, want.RefReg);
        EXPECT_EQ(got.NReg, want.NReg);
        EXPECT_EQ(got.FuncReg, want.FuncReg);
        EXPECT_EQ(got.description, want.description);
    }
};

TEST_F(HeaderLoadWindowTest, ADroppedHeaderFillsTheChannelsWhereverItLands) {
    TForm1& f = start();
    const ChannelTable want = eightDifferentChannels();
    const std::string path = saved(want, "20240101_1200param.h");
    for (QWidget* target :
         std::initializer_list<QWidget*>{&f, f.Edit1, f.Memo2->viewport(), f.Button6}) {
        SCOPED_TRACE(target->objectName().toStdString());
        f.channelTable = ChannelTable{};
        click(f.Button5);  // reset: empties Memo2
        ASSERT_TRUE(drop(target, {path}));
        expectTable(f.channelTable, want);
        const auto lines = memoLines(f.Memo2);
        ASSERT_EQ(lines.size(), 9u);
        EXPECT_EQ(lines[0], "Loaded " + path +
                                " (InitReg RefReg NReg FuncReg, description); \"Write\" sends it:");
        EXPECT_EQ(lines[1],
                  "ch0  000D8093 000000C8 00026901 00FFFFFF  5800,5 µMHz, STD=10MHz, PD=  kHz\\r, "
                  "I=5.00mA");
        EXPECT_EQ(lines[5], "ch4  000D8097 000000D8 00026D01 00FFFFFB");
        EXPECT_EQ(f.Edit1->text().toStdString(), "12340");  // the path was not typed into it
    }
}

TEST_F(HeaderLoadWindowTest, SaveAfterALoadWritesTheHeaderAgainButForTheDate) {
    TForm1& f = start();
    const std::string path = saved(eightDifferentChannels(), "20240101_1200param.h");
    ASSERT_TRUE(drop(&f, {path}));
    const std::time_t later = std::time(nullptr) + 24 * 3600;  // another name than the loaded one
    f.setClock(std::make_unique<FixedClock>(later));
    click(f.Button15);
    ASSERT_TRUE(m_boxes->errors.empty()) << m_boxes->errors[0];
    std::tm local{};
    ASSERT_EQ(localTime(later, local), 0);
    const std::string loaded = readFile("20240101_1200param.h");
    const std::string again = readFile(headerFileName(local));
    ASSERT_FALSE(again.empty());
    EXPECT_EQ(again.substr(again.find("\r\n")), loaded.substr(loaded.find("\r\n")));
}

TEST_F(HeaderLoadWindowTest, AFileThatIsNoHeaderChangesNothingAndSaysWhy) {
    TForm1& f = start();
    const ChannelTable before = eightDifferentChannels();
    writeFile("TVCONFIG.INI", "[PSC]\r\nVALUE=3\r\n");
    std::string cut = readFile(saved(before, "cut.h"));
    size_t end = 0;
    for (int line = 0; line < 20; ++line) end = cut.find("\r\n", end) + 2;
    writeFile("cut.h", cut.substr(0, end) + "  0x0002");  // line 21 breaks off
    const std::string ini = (m_dir / "TVCONFIG.INI").string();
    const std::string cutPath = (m_dir / "cut.h").string();
    const std::string kNot = "Not loaded, the channels are as they were: ";
    for (const auto& [paths, line] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{ini}, ini + ": line 1: expected \"//\" and the date of the export"},
             {{cutPath},
              cutPath + ": line 21: expected \"  0x\", 8 uppercase hexadecimal digits "
                        "and \",    //FuncReg\" and a line end"},
             {{m_dir.string()},
              "cannot read " + m_dir.string() + ": a directory, not a regular file"},
             {{ini, cutPath},
              "2 files dropped (" + ini + ", " + cutPath + "); give one header at a time."}}) {
        SCOPED_TRACE(line);
        f.channelTable = before;
        ASSERT_TRUE(drop(&f, paths));
        expectTable(f.channelTable, before);
        EXPECT_EQ(memoLines(f.Memo2).back(), kNot + line);
    }
}

TEST_F(HeaderLoadWindowTest, TheCommandLineLoadsOneHeaderAndRefusesTheRest) {
    TForm1& f = start();
    const ChannelTable want = eightDifferentChannels();
    const QString good = QString::fromStdString(saved(want, "20240101_1200param.h"));
    const QString missing = QString::fromStdString((m_dir / "missing.h").string());
    const std::string kNot = "Not loaded, the channels are as they were: ";

    const auto memoBefore = memoLines(f.Memo2);
    f.loadHeaderArguments({});  // no arguments: nothing to say
    EXPECT_EQ(memoLines(f.Memo2), memoBefore);

    f.loadHeaderArguments({missing});
    EXPECT_EQ(memoLines(f.Memo2).back(),
              kNot + "cannot read " + missing.toStdString() + ": ファイルが見つかりません");
    f.loadHeaderArguments({good, good});
    EXPECT_EQ(memoLines(f.Memo2).back(), kNot + "2 files on the command line (" +
                                             good.toStdString() + ", " + good.toStdString() +
                                             "); give one header at a time.");
    expectTable(f.channelTable, ChannelTable{});

    f.loadHeaderArguments({good});
    expectTable(f.channelTable, want);
    EXPECT_EQ(
        memoLines(f.Memo2).back(),
        "ch7  000D809A 000000E4 00027001 00FFFFF8  5807,5 µMHz, STD=10MHz, PD=  kHz\\r, I=5.00mA");
    EXPECT_TRUE(m_boxes->errors.empty());
}

}  // namespace
}  // namespace tv::testing
