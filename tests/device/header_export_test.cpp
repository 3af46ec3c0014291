#include "device/header_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "os/file_error.h"
#include "os/path_separator.h"
#include "tests/support/calendar_time.h"
#include "tests/support/file_size_limit_child.h"
#include "tests/support/fixed_clock.h"

namespace fs = std::filesystem;

namespace tv {
namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

using test::FixedClock;

// 2010-12-31 23:59:30 in UTC, which the fixture makes the local time zone.
constexpr std::time_t kNewYearsEve = 1293839970;

class HeaderExport : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef _WIN32
        _putenv_s("TZ", "UTC0");
#else
        setenv("TZ", "UTC", 1);
#endif
        tzset();
        std::setlocale(LC_ALL, "C");
        m_dir = fs::temp_directory_path() / ("tv_header_" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    static ChannelTable sampleTable() {
        ChannelTable t;
        t.InitReg[0] = 0x09F993;
        t.RefReg[0] = 0x000C80;
        t.NReg[0] = 0x026901;
        t.FuncReg[0] = 0x09F992;
        t.description[0] = "12340MHz, STD=10MHz, PD=200kHz, I=2.50mA";
        t.InitReg[3] = -1;
        t.RefReg[3] = INT32_MIN;
        t.NReg[3] = INT32_MAX;
        t.FuncReg[3] = 0xABCDEF;
        t.description[3] = "局発 ch3 テスト";
        t.InitReg[7] = 0xFFFFFF;
        t.RefReg[7] = 1;
        t.NReg[7] = 0x10;
        t.FuncReg[7] = 0x100000;
        t.description[7] = "x";
        return t;
    }

    fs::path m_dir;
};

constexpr auto* at = &test::calendarTime;

TEST_F(HeaderExport, TextMatchesExpectedFileByteForByte) {
    const std::string expected = readFile(fs::path(TV_DEVICE_TEST_DATA) / "header_2359.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(headerText(sampleTable(), at(2010, 12, 31, 23, 59, 30)), expected);
}

TEST_F(HeaderExport, EmptyTableAndMidnightLeavesTimeOut) {
    const std::string text = headerText(ChannelTable{}, at(2011, 1, 2, 0, 0, 0));
    std::string expected = "//01/02/11\r\n";
    for (int c = 0; c < 8; ++c) {
        expected += "//" + std::to_string(c) + "  \r\n";
        for (const char* name : {"InitReg", "RefReg", "NReg", "FuncReg"}) {
            expected += std::string("  0x00000000,    //") + name + "\r\n";
        }
    }
    EXPECT_EQ(text, expected);
    // One second past midnight the time is shown again.
    EXPECT_EQ(headerText(ChannelTable{}, at(2011, 1, 2, 0, 0, 1)).substr(0, 21),
              "//01/02/11 00:00:01\r\n");
}

TEST_F(HeaderExport, FileNameFromLocalTime) {
    EXPECT_EQ(headerFileName(at(2010, 12, 31, 23, 59, 59)), "20101231_2359param.h");
    EXPECT_EQ(headerFileName(at(2024, 3, 4, 5, 6, 7)), "20240304_0506param.h");
}

TEST_F(HeaderExport, WritesFileAndSecondSaveInSameMinuteReplacesIt) {
    const FixedClock clock(kNewYearsEve);
    ChannelTable table = sampleTable();
    const std::string path = exportHeader(table, m_dir.string(), clock);
    EXPECT_EQ(path, m_dir.string() + kPathSeparator + "20101231_2359param.h");
    EXPECT_EQ(readFile(path), readFile(fs::path(TV_DEVICE_TEST_DATA) / "header_2359.txt"));

    table.description[1] = "second";
    exportHeader(table, m_dir.string(), FixedClock(kNewYearsEve + 20));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator{}), 1);
    EXPECT_NE(readFile(path).find("//1  second\r\n"), std::string::npos);
}

void expectInOutError(const std::function<void()>& action, int code, const std::string& message) {
    try {
        action();
        ADD_FAILURE() << "no error thrown";
    } catch (const InOutError& e) {
        EXPECT_EQ(e.code(), code);
        EXPECT_EQ(std::string(e.what()), message);
    }
}

TEST_F(HeaderExport, ErrorsOfRealFileSystem) {
    const FixedClock clock(kNewYearsEve);
    // Windows reports a missing directory as a path not found (3).
    const bool windows = std::string(kPathSeparator) == "\\";
    expectInOutError([&] { exportHeader({}, (m_dir / "missing").string(), clock); },
                     windows ? 3 : 2,
                     windows ? "不正なファイル名です" : "ファイルが見つかりません");
    std::ofstream(m_dir / "plain") << "x";
    expectInOutError([&] { exportHeader({}, (m_dir / "plain").string(), clock); }, 3,
                     "不正なファイル名です");
    expectInOutError([&] { exportHeader({}, (m_dir / std::string(300, 'd')).string(), clock); }, 3,
                     "不正なファイル名です");
    // Windows: no directory write-protected by permission bits under Wine.
#ifndef _WIN32
    if (::geteuid() != 0) {  // root may write anywhere
        fs::create_directories(m_dir / "locked");
        fs::permissions(m_dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        expectInOutError([&] { exportHeader({}, (m_dir / "locked").string(), clock); }, 5,
                         "ファイルへのアクセスが拒否されました");
        fs::permissions(m_dir / "locked", fs::perms::owner_all);
    }
#endif
}

TEST_F(HeaderExport, FullDiskIsReportedAndFileRemoved) {
#ifdef _WIN32
    GTEST_SKIP() << "no /dev/full on Windows, and no full disk to make under Wine";
#endif
    // The header's name points at /dev/full, which takes no byte at all.
    const fs::path link = m_dir / "20101231_2359param.h";
    fs::create_symlink("/dev/full", link);
    expectInOutError([&] { exportHeader(sampleTable(), m_dir.string(), FixedClock(kNewYearsEve)); },
                     ENOSPC, "I/O エラー (28)");
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

// Fails the chosen step with the chosen errno and records what was asked of it.
class ScriptedWriter : public FileWriter {
public:
    enum Step { Create, Write, Flush, Close };
    ScriptedWriter(Step failAt, int err, int failOnWrite = 0)
        : m_failAt(failAt), m_err(err), m_failOnWrite(failOnWrite) {}

    int create(const std::string&) override { return fail(Create); }
    int write(std::string_view bytes) override {
        ++writes;
        if (m_failAt == Write && writes - 1 != m_failOnWrite) return 0;
        written += bytes;
        return fail(Write);
    }
    int flush() override { return fail(Flush); }
    int close() override {
        ++closes;
        return fail(Close);
    }
    void remove(const std::string& path) override { removed = path; }

    int writes = 0;
    int closes = 0;
    std::string written;
    std::string removed;

private:
    int fail(Step step) const { return step == m_failAt ? m_err : 0; }
    Step m_failAt;
    int m_err;
    int m_failOnWrite;
};

TEST_F(HeaderExport, EveryStepIsChecked) {
    struct Row {
        ScriptedWriter::Step step;
        int err;
        int code;
        const char* message;
        bool removed;
    };
    const Row rows[] = {
#ifdef _WIN32  // GetLastError() codes: access denied, too many open files, disk full, write fault
        {ScriptedWriter::Create, 5, 5, "ファイルへのアクセスが拒否されました", false},
        {ScriptedWriter::Create, 4, 4, "オープンしたファイルが多すぎます", false},
        {ScriptedWriter::Write, 112, 112, "I/O エラー (112)", true},
        {ScriptedWriter::Flush, 29, 29, "I/O エラー (29)", true},
        {ScriptedWriter::Close, 6, 6, "I/O エラー (6)", true},
#else
        {ScriptedWriter::Create, EACCES, 5, "ファイルへのアクセスが拒否されました", false},
        {ScriptedWriter::Create, EMFILE, 4, "オープンしたファイルが多すぎます", false},
        {ScriptedWriter::Write, ENOSPC, ENOSPC, "I/O エラー (28)", true},
        {ScriptedWriter::Flush, EIO, EIO, "I/O エラー (5)", true},
        {ScriptedWriter::Close, EDQUOT, EDQUOT, "I/O エラー (122)", true},
#endif
    };
    const std::string expectedPath = m_dir.string() + kPathSeparator + "20101231_2359param.h";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        ScriptedWriter writer(row.step, row.err, 6);
        expectInOutError(
            [&] { exportHeader({}, m_dir.string(), FixedClock(kNewYearsEve), writer); }, row.code,
            row.message);
        EXPECT_EQ(writer.removed, row.removed ? expectedPath : "");
        if (row.step == ScriptedWriter::Write) {
            EXPECT_EQ(writer.writes, 7);  // stopped at the failing line
            EXPECT_EQ(writer.closes, 1);
        }
    }
}

TEST_F(HeaderExport, WritesLineByLine) {
    ScriptedWriter writer(ScriptedWriter::Create, 0);  // nothing fails
    exportHeader(sampleTable(), m_dir.string(), FixedClock(kNewYearsEve), writer);
    EXPECT_EQ(writer.writes, 41);
    EXPECT_EQ(writer.written, headerText(sampleTable(), at(2010, 12, 31, 23, 59, 30)));
    EXPECT_EQ(writer.removed, "");
}

TEST_F(HeaderExport, FileSizeLimitIsAWriteErrorAndRemovesThePartialFile) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no per-process file-size limit to make a write fail";
#else
    const fs::path header = m_dir / "20101231_2359param.h";
    // The child reports: 0 the EFBIG error with the partial file gone, 1 no error,
    // 2 another error, 3 the partial file left.
    const test::ChildEnd end = test::runUnderFileSizeLimit(200, [&] {
        try {
            exportHeader(sampleTable(), m_dir.string(), FixedClock(kNewYearsEve));
            return 1;
        } catch (const InOutError& e) {
            if (e.code() != EFBIG || std::string(e.what()) != "I/O エラー (27)") return 2;
        }
        return fs::exists(header) ? 3 : 0;
    });
    EXPECT_EQ(end.signal, 0);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_FALSE(fs::exists(header));
#endif
}

}  // namespace
}  // namespace tv
