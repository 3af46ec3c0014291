#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "os/file_error.h"
#include "os/file_writer.h"
#include "os/local_time.h"
#include "os/system_error_text.h"

namespace tv {
namespace {

TEST(FileErrorWin32, SystemCodesMappedByMeaning) {
    struct Row {
        DWORD err;
        int code;
        const char* message;
    };
    const Row rows[] = {
        {ERROR_FILE_NOT_FOUND, 2, "ファイルが見つかりません"},
        {ERROR_PATH_NOT_FOUND, 3, "不正なファイル名です"},
        {ERROR_INVALID_NAME, 3, "不正なファイル名です"},
        {ERROR_FILENAME_EXCED_RANGE, 3, "不正なファイル名です"},
        {ERROR_TOO_MANY_OPEN_FILES, 4, "オープンしたファイルが多すぎます"},
        {ERROR_ACCESS_DENIED, 5, "ファイルへのアクセスが拒否されました"},
        {ERROR_WRITE_PROTECT, 5, "ファイルへのアクセスが拒否されました"},
        {ERROR_DISK_FULL, 112, "I/O エラー (112)"},
        {ERROR_SHARING_VIOLATION, 32, "I/O エラー (32)"},
    };
    for (const Row& row : rows) {
        const InOutError error = fileError(static_cast<int>(row.err));
        EXPECT_EQ(error.code(), row.code) << row.err;
        EXPECT_STREQ(error.what(), row.message) << row.err;
    }
}

TEST(SystemErrorTextWin32, SystemWordsWithoutLineEnd) {
    const std::string text = systemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    EXPECT_EQ(systemErrorText(0), "");
}

TEST(FileWriterWin32, StepsReportTheSystemCodes) {
    const auto dir = std::filesystem::temp_directory_path() / "tv_os_win32";
    std::filesystem::create_directories(dir);
    const auto writer = systemFileWriter();
    EXPECT_EQ(writer->create((dir / "missing" / "x.h").string()), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(writer->write("x"), ERROR_INVALID_HANDLE);
    // A UTF-8 name (as path::string() gives it) reaches the file system as the
    // same characters.
    const std::filesystem::path wide = dir / std::wstring(L"\u8A2D\u5B9A_\u00FC.h");
    const std::string name = wide.string();
    ASSERT_EQ(writer->create(name), 0);
    EXPECT_EQ(writer->write("\r\nab"), 0);
    EXPECT_EQ(writer->flush(), 0);
    EXPECT_EQ(writer->close(), 0);
    EXPECT_EQ(writer->close(), ERROR_INVALID_HANDLE);
    std::ifstream in(wide, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "\r\nab");
    in.close();
    std::filesystem::remove_all(dir);
}

TEST(LocalTimeWin32, MomentBeforeTheCalendarIsAnError) {
    std::tm local{};
    EXPECT_EQ(localTime(0, local), 0);
    EXPECT_EQ(localTime(-1, local), ERROR_ARITHMETIC_OVERFLOW);
}

}  // namespace
}  // namespace tv
