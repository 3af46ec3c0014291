#include "os/file_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace tv {
namespace {

TEST(FileError, ErrnoMappedByMeaning) {
#ifdef _WIN32
    GTEST_SKIP() << "errno mapping; the Windows build maps GetLastError() codes (FileErrorWin32)";
#endif
    const std::pair<int, int> rows[] = {
        {ENOENT, 2}, {ENOTDIR, 3}, {ENAMETOOLONG, 3}, {EINVAL, 3}, {EMFILE, 4},
        {ENFILE, 4}, {EACCES, 5},  {EPERM, 5},        {EROFS, 5},  {ENOSPC, ENOSPC},
    };
    for (const auto& [err, code] : rows) {
        EXPECT_EQ(fileError(err).code(), code) << "errno " << err;
    }
    EXPECT_STREQ(fileError(EISDIR).what(), "I/O エラー (21)");
}

TEST(FileError, OtherErrnoKeepsItsNumberInTheMessage) {
#ifdef _WIN32
    GTEST_SKIP() << "errno mapping; the Windows build maps GetLastError() codes (FileErrorWin32)";
#endif
    struct Row {
        int err;
        const char* message;
    };
    // EIO is 5 and ESRCH 3, the numbers of two neutral codes: still numbered.
    const Row rows[] = {
        {EFBIG, "I/O エラー (27)"},
        {EIO, "I/O エラー (5)"},
        {ESRCH, "I/O エラー (3)"},
        {ENOSPC, "I/O エラー (28)"},
    };
    for (const Row& row : rows) {
        const InOutError error = fileError(row.err);
        EXPECT_EQ(error.code(), row.err);
        EXPECT_STREQ(error.what(), row.message);
    }
    EXPECT_STREQ(inOutError(5).what(), "ファイルへのアクセスが拒否されました");
}

}  // namespace
}  // namespace tv
