// The configurator talking to a unit end to end: the real window, the real serial
// component on a pseudo-terminal, and tvunit answering on the other side.
#include <signal.h>
#include <sys/resource.h>

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "serial/rs232c.h"
#include "tests/support/child_process.h"
#include "tests/support/serial_os_fake.h"
#include "tests/support/unit_process.h"
#include "tests/support/window_fixture.h"

namespace tv::testing {
namespace {

class DeviceWindowTest : public WindowTest {
protected:
    UnitProcess& startUnit(const std::vector<std::string>& options = {}) {
        m_unit = std::make_unique<UnitProcess>(options, (m_dir / "unit.log").string());
        ::setenv("TVCONFIG_COM1", m_unit->path().c_str(), 1);
        return *m_unit;
    }

    // Fills channels 0, 3 and 7 with three different matches.
    void setThreeChannels() {
        click(control<QPushButton>("Button4"));
        click(control<QPushButton>("Button14"));
        click(control<QPushButton>("Button4"));
        clickItem(control<RadioGroup>("RadioGroup2"), 3);
        click(control<QPushButton>("Button14"));
        click(control<QPushButton>("Button4"));
        clickItem(control<RadioGroup>("RadioGroup2"), 7);
        click(control<QPushButton>("Button14"));
    }

    std::vector<int> bytesTheUnitReceived() const { return receivedBytes(m_unit->log()); }

    int repliesSent() const {
        int n = 0;
        for (const auto& e : m_unit->log()) n += e.received ? 0 : 1;
        return n;
    }

    std::unique_ptr<UnitProcess> m_unit;
};

const char* const kLineLost =
    "The line to the unit was lost and the port is closed; \"Open\" reopens it.";

TEST_F(DeviceWindowTest, WriteSendsTheImageByteByByteWaitingForEachReply) {
    startUnit();
    TForm1& f = start();
    ASSERT_TRUE(m_boxes->messages.empty()) << "the port did not open";
    EXPECT_FALSE(control<QPushButton>("Button1")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("Button2")->isEnabled());
    setThreeChannels();

    click(control<QPushButton>("Button6"));

    std::vector<int> expected{0x57, 0x0D};
    const std::vector<int> image = imageOf(f.channelTable);
    expected.insert(expected.end(), image.begin(), image.end());
    EXPECT_EQ(bytesTheUnitReceived(), expected);
    // Strict alternation in the unit's log proves that no byte left before the
    // reply to the one before it had come back. The unit logs a reply just after
    // sending it, so the window may have read the last one before it is logged.
    waitUntil([&] { return m_unit->log().size() >= 260u; }, 2000);
    const auto log = m_unit->log();
    ASSERT_EQ(log.size(), 260u);
    for (size_t i = 0; i < log.size(); ++i) EXPECT_EQ(log[i].received, i % 2 == 0) << "entry " << i;

    EXPECT_EQ(f.deviceLink().BufferPos, 130);
    EXPECT_TRUE(control<QPushButton>("Button6")->isEnabled());
    const std::string memo = control<QPlainTextEdit>("Memo2")->toPlainText().toStdString();
    EXPECT_EQ(memo.substr(0, 9), "57 0D 93 ");  // echoes run on in one line; InitReg first
    // The replies fill the first line; the line after it says the Write is done.
    EXPECT_EQ(memo.find('\n'), 130u * 3u);
}

TEST_F(DeviceWindowTest, DumpCollectsTheUnitsMemoryAndViewBufferShowsIt) {
    startUnit();
    TForm1& f = start();
    setThreeChannels();
    click(control<QPushButton>("Button6"));
    const std::vector<int> image = imageOf(f.channelTable);

    click(control<QPushButton>("Button11"));
    ASSERT_TRUE(waitUntil([&] { return f.deviceLink().BufferPos == 130; }));
    click(control<QPushButton>("Button13"));
    const auto lines = memoLines(control<QPlainTextEdit>("Memo3"));
    ASSERT_EQ(lines.size(), 17u);
    for (int r = 0; r < 17; ++r) {
        std::string row;
        for (int k = 0; k < 16; ++k) {
            const int p = 1 + 16 * r + k;
            const int b = p == 1 ? 0x0D : (p <= 129 ? image[static_cast<size_t>(p - 2)] : 0);
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02X ", b);
            row += hex;
        }
        EXPECT_EQ(lines[static_cast<size_t>(r)], row) << "row " << r;
    }
}

TEST_F(DeviceWindowTest, InitializeClearsTheUnitAndItsRepliesAppearInTheStatusMemo) {
    startUnit();
    TForm1& f = start();
    setThreeChannels();
    click(control<QPushButton>("Button6"));
    click(control<QPushButton>("Button4"));  // empties Memo2
    click(control<QPushButton>("Button10"));
    ASSERT_TRUE(waitUntil([&] { return repliesSent() == 130 + 2; }));
    ASSERT_TRUE(waitUntil([&] {
        return control<QPlainTextEdit>("Memo2")->toPlainText().endsWith(QStringLiteral("49 0D "));
    }));

    click(control<QPushButton>("Button11"));
    ASSERT_TRUE(waitUntil([&] { return f.deviceLink().BufferPos == 130; }));
    for (int p = 2; p < 130; ++p) EXPECT_EQ(f.deviceLink().DeviceBuffer[static_cast<size_t>(p)], 0);
}

TEST_F(DeviceWindowTest, ASilentUnitEndsTheCommandWithAMessage) {
    startUnit({"--silent"});
    start();
    QElapsedTimer t;
    t.start();
    click(control<QPushButton>("Button6"));
    EXPECT_GE(t.elapsed(), 1900);
    EXPECT_LT(t.elapsed(), 4000);
    EXPECT_EQ(memoLines(control<QPlainTextEdit>("Memo2")).back(), "No reply from the unit");
    EXPECT_EQ(bytesTheUnitReceived(), std::vector<int>{0x57});
    EXPECT_TRUE(control<QPushButton>("Button6")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("Button10")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("Button11")->isEnabled());
}

TEST_F(DeviceWindowTest, CommandButtonsAreDisabledWhileACommandWaits) {
    startUnit({"--delay", "200"});
    start();
    bool disabledDuringWait = false;
    QTimer::singleShot(100, [&] {
        disabledDuringWait = !control<QPushButton>("Button6")->isEnabled() &&
                             !control<QPushButton>("Button10")->isEnabled() &&
                             !control<QPushButton>("Button11")->isEnabled() &&
                             control<QPushButton>("Button13")->isEnabled();
    });
    click(control<QPushButton>("Button10"));
    EXPECT_TRUE(disabledDuringWait);
    EXPECT_TRUE(control<QPushButton>("Button6")->isEnabled());
}

TEST_F(DeviceWindowTest, AUnitAnsweringTwiceStillCompletesAWrite) {
    startUnit({"--double"});
    start();
    click(control<QPushButton>("Button6"));
    EXPECT_EQ(memoLines(control<QPlainTextEdit>("Memo2")).back().find("No reply"),
              std::string::npos);
    EXPECT_TRUE(control<QPushButton>("Button6")->isEnabled());
    // Extra replies may end a later wait early, so fewer than 130 bytes can have
    // been needed, but every byte sent was answered.
    EXPECT_GE(bytesTheUnitReceived().size(), 66u);
}

TEST_F(DeviceWindowTest, AUnitThatHangsUpStopsTheWriteWithoutHanging) {
    startUnit({"--hangup-after", "50"});
    start();
    QElapsedTimer t;
    t.start();
    click(control<QPushButton>("Button6"));
    EXPECT_LT(t.elapsed(), 6000);
    EXPECT_EQ(memoLines(control<QPlainTextEdit>("Memo2")).back(), "No reply from the unit");
    EXPECT_LE(bytesTheUnitReceived().size(), 51u);
    // The window goes on working.
    click(control<QPushButton>("Button4"));
    EXPECT_EQ(control<QLabel>("Label10")->text().toStdString(), "50");
}

TEST_F(DeviceWindowTest, AFloodOfUnaskedBytesStaysInsideTheBuffer) {
    startUnit({"--flood", "100000"});
    TForm1& f = start();
    click(control<QPushButton>("Button11"));  // the first answer sets off the flood
    ASSERT_TRUE(waitUntil([&] { return f.deviceLink().BufferPos >= 100000 + 2; }, 20000));
    // Memo2 keeps the newest 64 KiB of the text, up to the last byte received.
    char last[4];
    std::snprintf(last, sizeof last, "%02X ", f.deviceLink().RxByte);
    QPlainTextEdit* memo2 = control<QPlainTextEdit>("Memo2");
    EXPECT_TRUE(
        waitUntil([&] { return memo2->toPlainText().endsWith(QString::fromLatin1(last)); }));
    EXPECT_EQ(memo2->toPlainText().size(), 64 * 1024);
    click(control<QPushButton>("Button13"));
    EXPECT_EQ(memoLines(control<QPlainTextEdit>("Memo3")).size(), 17u);
}

TEST_F(DeviceWindowTest, ClosingTheWindowWhileAWriteWaitsEndsCleanly) {
    startUnit({"--silent"});
    TForm1& f = start();
    QTimer::singleShot(300, &f, [&] { f.close(); });
    QElapsedTimer t;
    t.start();
    click(control<QPushButton>("Button6"));
    ASSERT_TRUE(waitUntil([&] { return !f.isVisible(); }, 3000));
    EXPECT_LT(t.elapsed(), 1500);  // ended by the close, not by the time-out
    EXPECT_FALSE(f.rs232c1().isOpen());
    EXPECT_NE(readFile("TVCONFIG.INI").find("[Tarvex]"), std::string::npos);
}

TEST_F(DeviceWindowTest, ACloseThatCannotSaveDuringAWriteLeavesCommandsWorking) {
    startUnit({"--silent"});
    std::filesystem::create_directory(m_dir / "TVCONFIG.INI");  // the save will fail
    TForm1& f = start();
    QTimer::singleShot(300, &f, [&] { f.close(); });
    click(control<QPushButton>("Button6"));
    ASSERT_TRUE(waitUntil([&] { return !m_boxes->errors.empty(); }, 3000));
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.rs232c1().isOpen());
    // The next command waits for its reply as usual instead of stopping at once.
    QElapsedTimer t;
    t.start();
    click(control<QPushButton>("Button10"));
    EXPECT_GE(t.elapsed(), 1900);
    EXPECT_EQ(memoLines(control<QPlainTextEdit>("Memo2")).back(), "No reply from the unit");
    std::filesystem::remove(m_dir / "TVCONFIG.INI");
}

TEST_F(DeviceWindowTest, AStartUpWithAnUnusablePortShowsError) {
    start();  // com1 points at a path that does not exist
    EXPECT_EQ(m_boxes->beeps, 1);
    EXPECT_EQ(m_boxes->messages, std::vector<std::string>{"Error"});
    EXPECT_TRUE(control<QPushButton>("Button1")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("Button2")->isEnabled());
    // Commands on a closed port stop at their first wait.
    click(control<QPushButton>("Button10"));
    EXPECT_EQ(memoLines(control<QPlainTextEdit>("Memo2")).back(), "No reply from the unit");
}

std::vector<std::string> lineCalls(const FakeSerialOs& os) {
    std::vector<std::string> out;
    for (const std::string& c : os.calls())
        if (c.rfind("escape", 0) == 0 || c.rfind("open", 0) == 0 || c == "close") out.push_back(c);
    return out;
}

TEST_F(DeviceWindowTest, DtrAndRtsRiseOnOpenAndDropOnClose) {
    auto os = std::make_unique<FakeSerialOs>();
    FakeSerialOs& fake = *os;
    TForm1& f = start(std::move(os));
    // SETDTR 5, SETRTS 3 after the open; CLRDTR 6, CLRRTS 4 before the close.
    EXPECT_EQ(lineCalls(fake), (std::vector<std::string>{"open com1", "escape 5", "escape 3"}));
    fake.clearCalls();
    // "Open" is disabled while the port is open; its handler still closes and
    // reopens an open port.
    EXPECT_FALSE(control<QPushButton>("Button1")->isEnabled());
    f.Button1Click();
    EXPECT_EQ(lineCalls(fake), (std::vector<std::string>{"escape 6", "escape 4", "close",
                                                         "open com1", "escape 5", "escape 3"}));
    fake.clearCalls();
    click(control<QPushButton>("Button2"));
    EXPECT_EQ(lineCalls(fake), (std::vector<std::string>{"escape 6", "escape 4", "close"}));
    EXPECT_TRUE(control<QPushButton>("Button1")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("Button2")->isEnabled());
    fake.clearCalls();
    click(control<QPushButton>("Button2"));  // "Close" on a closed port changes nothing on the line
    EXPECT_TRUE(lineCalls(fake).empty());
}

TEST_F(DeviceWindowTest, TheProgramSavesItsSettingsWhenTheTerminalStopsIt) {
    startUnit();
    writeFile("TVCONFIG.INI", "[PSC]\nVALUE=3\n");
    test::ChildProcess program(TVCONFIG_PATH, {});
    ASSERT_TRUE(program.started());
    const pid_t pid = program.pid();
    // Up and running once it holds the unit's terminal open.
    const auto holdsPort = [&] {
        std::error_code ec;
        for (const auto& fd :
             std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec))
            if (std::filesystem::read_symlink(fd.path(), ec) == m_unit->path()) return true;
        return false;
    };
    ASSERT_TRUE(waitUntil(holdsPort, 10000));
    QThread::msleep(300);  // the window is shown right after the port opens
    program.sendSignal(SIGINT);
    const test::ChildEnd end = program.wait();
    ASSERT_TRUE(end.ended());
    EXPECT_TRUE(end.exited()) << "ended by signal " << end.signal;
    EXPECT_EQ(end.exitCode, 0);
    const std::string saved = readFile("TVCONFIG.INI");
    EXPECT_EQ(saved.rfind("[PSC]\nVALUE=3\n", 0), 0u) << saved;
    EXPECT_NE(saved.find("[Tarvex]\nVersion=0\n"), std::string::npos) << saved;
}

// Whether the process catches SIGTERM and has sat idle in an event loop for a
// while: no CPU time used over the last few looks, asleep.
bool idleWithHandler(pid_t pid) {
    const std::string proc = "/proc/" + std::to_string(pid);
    std::ifstream status(proc + "/status");
    std::string line;
    unsigned long long caught = 0;
    while (std::getline(status, line))
        if (line.rfind("SigCgt:", 0) == 0) caught = std::stoull(line.substr(7), nullptr, 16);
    if (!(caught & (1ull << (SIGTERM - 1)))) return false;
    std::string last;
    for (int look = 0; look < 4; ++look) {
        std::ifstream statFile(proc + "/stat");
        std::string stat((std::istreambuf_iterator<char>(statFile)), {});
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string state, skip, utime, stime;
        fields >> state;
        for (int i = 0; i < 10; ++i) fields >> skip;
        fields >> utime >> stime;
        if (state != "S" || (look > 0 && utime + " " + stime != last)) return false;
        last = utime + " " + stime;
        QThread::msleep(100);
    }
    return true;
}

// SIGTERM ends the program, saving what it can: sent while the start-up "Error"
// box stands (the signal handler is in place before it), and sent to a running
// window whose settings file can never be written.
TEST_F(DeviceWindowTest, ASignalEndsTheProgramWhereverItIs) {
    const struct Row {
        const char* what;
        bool unit;       // com1 answers: no start-up box
        bool directory;  // TVCONFIG.INI a directory: no save possible
    } rows[] = {
        {"during the start-up Error box", false, false},
        {"a running window that cannot save", true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.unit) startUnit();
        const std::filesystem::path ini = m_dir / "TVCONFIG.INI";
        if (row.directory) std::filesystem::create_directory(ini);
        test::ChildProcess program(TVCONFIG_PATH, {});
        ASSERT_TRUE(program.started());
        const bool idle = waitUntil([&] { return idleWithHandler(program.pid()); }, 15000);
        program.sendSignal(SIGTERM);
        const std::optional<test::ChildEnd> end = program.wait(std::chrono::seconds(10));
        ASSERT_TRUE(end.has_value()) << "still running after SIGTERM";
        EXPECT_TRUE(idle) << "never sat waiting with its handler in place";
        EXPECT_EQ(end->signal, 0) << "ended by signal " << end->signal;
        EXPECT_EQ(end->exitCode, 0);
        if (row.directory) {
            EXPECT_TRUE(std::filesystem::is_directory(ini));
        } else {
            EXPECT_NE(readFile("TVCONFIG.INI").find("[Tarvex]\nVersion=0\n"), std::string::npos);
        }
        std::filesystem::remove_all(ini);
    }
}

TEST_F(DeviceWindowTest, AMegabyteFloodNeverFreezesTheWindow) {
    // How long the loop may stand still and how much memory the flood may take
    // are measured by bench_app_flood; here: timers go on while the bytes pour in,
    // and the status box stays bounded.
    constexpr int kFlood = 1 << 20;
    startUnit({"--flood", std::to_string(kFlood)});
    TForm1& f = start();
    int ticksDuringFlood = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const int32_t pos = f.deviceLink().BufferPos;
        if (pos > 2 && pos < kFlood + 2) ++ticksDuringFlood;
    });
    // A tick every 20 ms: an idle machine takes the megabyte in about 200 ms, which a
    // slower timer would see once or twice by chance.
    ticks.start(20);
    click(control<QPushButton>("Button11"));  // the first answer sets off the flood
    ASSERT_TRUE(waitUntil([&] { return f.deviceLink().BufferPos >= kFlood + 2; }, 120000));
    ticks.stop();
    EXPECT_GE(ticksDuringFlood, 2) << "the event loop stood still while the bytes came";
    EXPECT_LE(control<QPlainTextEdit>("Memo2")->toPlainText().size(), 64 * 1024);
}

TEST_F(DeviceWindowTest, AUnitThatHangsUpIsShownAsClosed) {
    startUnit({"--hangup-after", "2"});  // after "I" CR
    TForm1& f = start();
    click(f.Button10);
    ASSERT_TRUE(waitUntil([&] { return f.Button1->isEnabled(); }, 3000));
    EXPECT_FALSE(f.Button2->isEnabled());
    EXPECT_FALSE(f.rs232c1().isOpen());
    EXPECT_EQ(memoLines(f.Memo2).back(), kLineLost);
    EXPECT_TRUE(m_boxes->messages.empty());  // no modal box
}

TEST_F(DeviceWindowTest, AHangUpDuringAWriteStopsItAtOnce) {
    startUnit({"--hangup-after", "50"});
    TForm1& f = start();
    QElapsedTimer t;
    t.start();
    click(f.Button6);
    // Without noticing the hang-up the command would wait out its 2 s.
    EXPECT_LT(t.elapsed(), 1500);
    const auto lines = memoLines(f.Memo2);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], kLineLost);
    EXPECT_EQ(lines.back(), "No reply from the unit");
    EXPECT_TRUE(f.Button1->isEnabled());
}

TEST_F(DeviceWindowTest, ALostLineOnTheFakeClosesThePortAsCloseDoes) {
    auto os = std::make_unique<FakeSerialOs>();
    FakeSerialOs& fake = *os;
    TForm1& f = start(std::move(os));
    ASSERT_TRUE(fake.waitForWaiter(1000));
    fake.clearCalls();
    fake.hangUp();
    ASSERT_TRUE(waitUntil([&] { return f.Button1->isEnabled(); }, 3000));
    EXPECT_EQ(lineCalls(fake), (std::vector<std::string>{"escape 6", "escape 4", "close"}));
    EXPECT_FALSE(f.Button2->isEnabled());
    EXPECT_EQ(memoLines(f.Memo2).back(), kLineLost);
}

TEST_F(DeviceWindowTest, AFailedOpenSaysWhyInTheStatusMemo) {
    TForm1& f = start();  // com1 points at a path that does not exist
    const std::string line = memoLines(f.Memo2).back();
    EXPECT_EQ(line.rfind("Port \"com1\" (", 0), 0u) << line;
    EXPECT_NE(line.find("no such device"), std::string::npos) << line;
    EXPECT_NE(line.find("TVCONFIG_COM1"), std::string::npos) << line;
    EXPECT_EQ(m_boxes->messages, std::vector<std::string>{"Error"});
}

}  // namespace
}  // namespace tv::testing
