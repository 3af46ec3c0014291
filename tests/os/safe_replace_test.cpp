#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>
#include <string>

#include "os/errors.h"
#include "settings/settings.h"
#include "tests/settings/profile_test_support.h"
#include "tests/support/file_size_limit_child.h"
#ifndef _WIN32
#include "tests/support/child_process.h"
#endif

namespace tv {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32
// The id of a process that has ended and been reaped.
pid_t deadProcess() { return test::endedProcessId(); }
#endif

TEST(SettingsSave, RemovesOnlyTheTemporariesOfDeadSaves) {
#ifdef _WIN32
    GTEST_SKIP()
        << "fork and POSIX process ids; the Windows form has its own test (FileReplaceWin32)";
#else
    test::ScratchDir dir;
    const std::string dead = std::to_string(deadProcess());
    const std::string self = std::to_string(::getpid());
    const std::string alive = std::to_string(::getppid());
    struct Row {
        std::string name;
        bool removed;
    };
    const Row rows[] = {
        {".TVCONFIG.INI." + dead + ".0.tmp", true},
        {".TVCONFIG.INI." + dead + ".17.tmp", true},
        {".TVCONFIG.INI." + alive + ".0.tmp", false},
        {".TVCONFIG.INI." + self + ".99.tmp", false},
        {".TVCONFIG.INI.0.0.tmp", false},  // pid 0 would mean the process group
        {".TVCONFIG.INI.-1.0.tmp", false},
        {".TVCONFIG.INI." + dead + ".x.tmp", false},
        {".TVCONFIG.INI." + dead + ".0.tmp.bak", false},
        {".OTHER.INI." + dead + ".0.tmp", false},
        {"TVCONFIG.INI." + dead + ".0.tmp", false},
    };
    for (const Row& row : rows) test::writeFile(dir.file(row.name), "x");
    saveSettings(settingsPath(dir.path().string()), Settings{});
    for (const Row& row : rows) {
        EXPECT_EQ(fs::exists(dir.file(row.name)), !row.removed) << row.name;
    }
#endif
}

TEST(SettingsSave, FileSizeLimitKeepsTheOldFileAndReportsTheWrite) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no per-process file-size limit to make a write fail";
#else
    test::ScratchDir dir;
    const std::string path = settingsPath(dir.path().string());
    const std::string old = "[Frequency]\r\nLocalOutput=12340\r\n";
    test::writeFile(path, old);
    Settings changed;
    changed.LocalOutput = std::string(20, '9');  // even the first entry no longer fits
    // The child reports: 0 the write error with its message, 1 no error, 2 another error.
    const test::ChildEnd end = test::runUnderFileSizeLimit(old.size() + 10, [&] {
        try {
            saveSettings(path, changed);
            return 1;
        } catch (const Error& e) {
            return std::string(e.what()) == path + " に書き込めません" ? 0 : 2;
        }
    });
    EXPECT_EQ(end.signal, 0);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_EQ(test::readFile(path), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 1);
#endif
}

}  // namespace
}  // namespace tv
