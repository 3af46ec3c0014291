// The Windows build of the window against a unit on COM1, run under Wine by
// tests/windows/run-window-under-wine.sh: for each case the driver starts
// tvunit (with the case's fault options), points COM1 at its terminal and
// names tvunit's byte log and the line shim's DTR/RTS log in the environment.
#include <QElapsedTimer>
#include <cstdio>
#include <fstream>

#include "serial/rs232c.h"
#include "tests/support/channel_grid_cells.h"
#include "tests/support/unit_log.h"
#include "tests/support/window_fixture.h"

namespace tv::testing {
namespace {

class WineDeviceTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        qunsetenv("TVCONFIG_COM1");  // com1 is COM1, the port the driver mapped
        if (logPath("TVCONFIG_TEST_UNIT_LOG").empty())
            GTEST_FAIL() << "run by tests/windows/run-window-under-wine.sh, which starts the unit";
    }

    static std::string logPath(const char* variable) {
        return qEnvironmentVariable(variable).toStdString();
    }
    static std::vector<UnitLogEntry> unitLog() {
        return readUnitLog(logPath("TVCONFIG_TEST_UNIT_LOG"));
    }
    static std::vector<std::string> lineChanges() {
        std::vector<std::string> lines;
        std::ifstream in(logPath("TVCONFIG_TEST_LINE_LOG"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // Opens the window on COM1 and stores one match in channel 0, then writes.
    TForm1& startAndWrite() {
        TForm1& f = start();
        EXPECT_TRUE(m_boxes->messages.empty()) << "COM1 did not open";
        click(f.Button4);
        click(f.Button14);
        click(f.Button6);
        return f;
    }
    // Dumps once the command before it has ended and its button is back.
    bool dump(TForm1& f) {
        if (!waitUntil([&] { return f.Button11->isEnabled(); })) return false;
        click(f.Button11);
        return waitUntil([&] { return f.deviceLink().BufferPos == 130; });
    }
};

TEST_F(WineDeviceTest, WriteSendsTheImageAndWaitsForEachReply) {
    TForm1& f = startAndWrite();
    std::vector<int> expected{0x57, 0x0D};
    const std::vector<int> image = imageOf(f.channelTable);
    expected.insert(expected.end(), image.begin(), image.end());
    const auto log = unitLog();
    EXPECT_EQ(receivedBytes(log), expected);
    // Received and answered bytes alternate: none left before the last reply.
    ASSERT_EQ(log.size(), 260u);
    for (size_t i = 0; i < log.size(); ++i) EXPECT_EQ(log[i].received, i % 2 == 0) << "entry " << i;
    // The replies run on in one line; the line after it says the Write is done. On a
    // loaded machine Wine's replies can average above kSlowReply, and the window then
    // rightly says so in a line of its own between the two.
    const auto lines = memoLines(f.Memo2);
    ASSERT_GE(lines.size(), 2u);
    size_t replies = lines.size() - 2;
    if (replies > 0 && lines[replies].rfind("Each reply took ", 0) == 0) --replies;
    EXPECT_EQ(lines[replies].substr(0, 9), "57 0D 93 ");
    EXPECT_EQ(lines.back().rfind("Write done: 130 bytes, every reply in, ", 0), 0u) << lines.back();
}

TEST_F(WineDeviceTest, DumpReadsTheWrittenImageAndViewBufferShowsIt) {
    TForm1& f = startAndWrite();
    ASSERT_TRUE(dump(f));
    click(f.Button13);
    // Position 1 holds the echoed CR, then the image, then zeros to 17 rows.
    std::vector<int> bytes{0x0D};
    const std::vector<int> image = imageOf(f.channelTable);
    bytes.insert(bytes.end(), image.begin(), image.end());
    bytes.resize(17 * 16, 0);
    std::vector<std::string> rows(17);
    for (size_t p = 0; p < bytes.size(); ++p) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X ", bytes[p]);
        rows[p / 16] += hex;
    }
    EXPECT_EQ(memoLines(f.Memo3), rows);
    const std::vector<int> sent = receivedBytes(unitLog());
    EXPECT_EQ(std::vector<int>(sent.end() - 2, sent.end()), (std::vector<int>{0x44, 0x0D}));
}

TEST_F(WineDeviceTest, InitializeClearsTheUnitsMemory) {
    TForm1& f = startAndWrite();
    click(f.Button10);
    // Initialize waits for the reply to the I only: the dump starts once the
    // CR's reply has come back too.
    ASSERT_TRUE(
        waitUntil([&] { return f.Memo2->toPlainText().endsWith(QStringLiteral("49 0D ")); }));
    ASSERT_TRUE(dump(f));
    for (int p = 2; p < 130; ++p) EXPECT_EQ(f.deviceLink().DeviceBuffer[static_cast<size_t>(p)], 0);
    const std::vector<int> sent = receivedBytes(unitLog());
    EXPECT_EQ(std::vector<int>(sent.begin() + 130, sent.end()),
              (std::vector<int>{0x49, 0x0D, 0x44, 0x0D}));
}

TEST_F(WineDeviceTest, ASilentUnitEndsTheWriteWithAMessage) {
    TForm1& f = start();
    QElapsedTimer t;
    t.start();
    click(f.Button6);
    EXPECT_GE(t.elapsed(), 1900);
    EXPECT_LT(t.elapsed(), 4000);
    EXPECT_EQ(memoLines(f.Memo2).back(), "No reply from the unit");
    EXPECT_EQ(receivedBytes(unitLog()), std::vector<int>{0x57});
    EXPECT_TRUE(f.Button6->isEnabled());
}

// Wine tells a hang-up in its own words (an aborted wait, a port "not ready"):
// the write must still stop at the lost line, not wait out its 2 s.
TEST_F(WineDeviceTest, AHangUpDuringAWriteClosesThePort) {
    TForm1& f = start();
    ASSERT_TRUE(m_boxes->messages.empty()) << "COM1 did not open";
    click(f.Button6);
    const auto lines = memoLines(f.Memo2);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2],
              "The line to the unit was lost and the port is closed; \"Open\" reopens it.");
    EXPECT_TRUE(f.Button1->isEnabled());
    EXPECT_FALSE(f.Button2->isEnabled());
    EXPECT_EQ(receivedBytes(unitLog()).size(), 60u);
}

TEST_F(WineDeviceTest, DtrAndRtsRiseOnOpenAndDropOnClose) {
    TForm1& f = start();
    ASSERT_TRUE(m_boxes->messages.empty()) << "COM1 did not open";
    EXPECT_EQ(lineChanges(), (std::vector<std::string>{"DTR 1", "RTS 1"}));
    click(f.Button2);
    EXPECT_EQ(lineChanges(), (std::vector<std::string>{"DTR 1", "RTS 1", "DTR 0", "RTS 0"}));
    EXPECT_TRUE(f.Button1->isEnabled());
}

// The driver maps COM15 to the same unit: a port number the twelve do not
// reach, as Windows gives a USB adapter.
TEST_F(WineDeviceTest, Com15IsListedOpenedWrittenToAndRemembered) {
    TForm1& f = start();
    click(f.Button2);  // the start-up open of com1: the unit is for com15
    int com15 = -1;
    for (int i = 12; i < f.ComboBox1->count(); ++i) {
        if (f.ComboBox1->itemText(i).startsWith(QStringLiteral("com15"))) com15 = i;
    }
    ASSERT_GE(com15, 12) << "com15 is not in the list";
    f.ComboBox1->setCurrentIndex(com15);
    m_boxes->messages.clear();
    click(f.Button1);
    ASSERT_TRUE(m_boxes->messages.empty()) << "com15 did not open";
    EXPECT_EQ(f.rs232c1().portname, "com15");
    click(f.Button4);
    click(f.Button14);
    click(f.Button6);
    EXPECT_EQ(receivedBytes(unitLog()).size(), 130u);

    // Chosen again at the next start, and opened there.
    ASSERT_TRUE(closeWindow());
    EXPECT_NE(readFile("TVCONFIG.INI").find("device=com15\n"), std::string::npos);
    m_boxes->messages.clear();
    TForm1& again = start();
    EXPECT_TRUE(m_boxes->messages.empty()) << "com15 did not open at the start";
    EXPECT_TRUE(again.ComboBox1->currentText().startsWith(QStringLiteral("com15")));
    EXPECT_EQ(again.rs232c1().portname, "com15");
}

TEST_F(WineDeviceTest, TheChannelsPageShowsWhatTheUnitHolds) {
    TForm1& f = startAndWrite();
    ASSERT_TRUE(waitUntil([&] { return f.ReadUnitButton->isEnabled(); }));
    f.PageControl1->setCurrentWidget(f.TabSheet4);
    EXPECT_TRUE(f.ChannelGrid->isVisible());
    EXPECT_EQ(gridText(f.ChannelGrid, 0, "NReg"), "00026901");
    click(f.ReadUnitButton);
    EXPECT_EQ(memoLines(f.Memo2).back(), "The unit holds the channels in the table.");
    EXPECT_EQ(gridText(f.ChannelGrid, 0, "Unit"), "same");
    EXPECT_TRUE(f.TakeUnitButton->isEnabled());
}

TEST_F(WineDeviceTest, ATypedDeviceNameIsTheOneOpened) {
    TForm1& f = start();
    click(f.Button2);
    const std::string device = "\\\\.\\COM15";
    f.ComboBox1->lineEdit()->selectAll();
    QTest::keyClicks(f.ComboBox1->lineEdit(), QString::fromStdString(device));
    click(f.Button1);  // "Open" confirms what was typed
    ASSERT_TRUE(m_boxes->messages.empty()) << "the device name of COM15 did not open";
    EXPECT_EQ(f.rs232c1().portname, device);
}

}  // namespace
}  // namespace tv::testing
