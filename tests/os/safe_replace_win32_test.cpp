#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "os/safe_replace.h"
#include "settings/settings.h"
#include "tests/settings/profile_test_support.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

// The id of a process that has ended.
DWORD deadProcess() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    wchar_t command[] = L"cmd.exe /c exit";
    if (!::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &process)) {
        return 0;
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);  // the last handle: the id is free again
    return process.dwProcessId;
}

TEST(FileReplaceWin32, RemovesOnlyTheTemporariesOfDeadSaves) {
    test::ScratchDir dir;
    const DWORD dead = deadProcess();
    ASSERT_NE(dead, 0u);
    const std::string self = std::to_string(::GetCurrentProcessId());
    const struct {
        std::string name;
        bool removed;
    } rows[] = {
        {".TVCONFIG.INI." + std::to_string(dead) + ".0.tmp", true},
        {".TVCONFIG.INI." + self + ".99.tmp", false},
        {".TVCONFIG.INI.0.0.tmp", false},
        {".TVCONFIG.INI.99999999999.0.tmp", false},  // beyond any process id
        {".OTHER.INI." + std::to_string(dead) + ".0.tmp", false},
    };
    for (const auto& row : rows) test::writeFile(dir.file(row.name), "x");
    saveSettings(settingsPath(dir.path().string()), Settings{});
    for (const auto& row : rows)
        EXPECT_EQ(fs::exists(dir.file(row.name)), !row.removed) << row.name;
}

TEST(FileReplaceWin32, KeepsAttributesAndRefusesReadOnly) {
    test::ScratchDir dir;
    const std::string path = dir.file("TVCONFIG.INI");
    const std::wstring wide = fs::path(path).wstring();
    test::writeFile(path, "[PD]\r\nPol=0\r\n");
    ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(replaceFile(path, "[PD]\r\nPol=1\r\n"), 0);
    EXPECT_EQ(test::readFile(path), "[PD]\r\nPol=1\r\n");
    EXPECT_TRUE(::GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN);

    ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_NE(replaceFile(path, "[PD]\r\nPol=0\r\n"), 0);
    EXPECT_EQ(test::readFile(path), "[PD]\r\nPol=1\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 1);
    ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace tv
