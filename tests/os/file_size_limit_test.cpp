#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <string>

#include "os/file_writer.h"
#include "tests/support/file_size_limit_child.h"

namespace tv {
namespace {

TEST(FileSizeLimit, WritePastTheLimitFailsInsteadOfKilling) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no per-process file-size limit (RLIMIT_FSIZE, SIGXFSZ)";
#else
    const std::string path =
        (std::filesystem::temp_directory_path() / ("tv_fsize_" + std::to_string(::getpid())))
            .string();
    const auto writeTooMuch = [&path] {
        const auto writer = systemFileWriter();
        if (const int err = writer->create(path)) return err;
        return writer->write(std::string(4096, 'x'));
    };
    struct Row {
        bool ignoreSignal;
        int exitCode;
        int signal;
    };
    // Without the ignore the default action of SIGXFSZ ends the process.
    const Row rows[] = {{true, EFBIG, 0}, {false, -1, SIGXFSZ}};
    for (const Row& row : rows) {
        const test::ChildEnd end =
            test::runUnderFileSizeLimit(1000, writeTooMuch, row.ignoreSignal);
        EXPECT_EQ(end.exitCode, row.exitCode) << row.ignoreSignal;
        EXPECT_EQ(end.signal, row.signal) << row.ignoreSignal;
        EXPECT_EQ(std::filesystem::file_size(path), 1000u);  // what fitted, before the failure
        std::filesystem::remove(path);
    }
#endif
}

}  // namespace
}  // namespace tv
