#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <cerrno>
#include <csignal>
#include <filesystem>

#include "os/errors.h"
#include "profile_test_support.h"
#include "settings/profile_file.h"
#include "tests/support/file_size_limit_child.h"

namespace tv {
namespace {

using test::readFile;
using test::ScratchDir;
using test::writeFile;

TEST(ProfileFile, MissingFileGivesDefaultsAndIsCreatedOnWrite) {
    ScratchDir dir;
    const std::string path = dir.file("TVCONFIG.INI");
    ProfileFile file(path);
    EXPECT_EQ(file.readString("Frequency", "STD", "10"), "10");
    EXPECT_EQ(file.readInteger("PD", "Pol", 1), 1);
    file.writeInteger("PD", "Pol", -1);
    EXPECT_EQ(readFile(path), "[PD]\nPol=-1\n");
    EXPECT_EQ(file.readInteger("PD", "Pol", 1), -1);  // reads see our own writes
    EXPECT_EQ(ProfileFile(path).readInteger("PD", "Pol", 1), -1);
}

TEST(ProfileFile, IntegerDefaultsForEmptyMalformedAndOutOfRange) {
    ScratchDir dir;
    const std::string path = dir.file("a.ini");
    writeFile(path, "[S]\nempty=\nword=abc\nbig=4294967296\nhex=0x1F\ndollar= $10 \nq=\"7\"\n");
    const ProfileFile file(path);
    EXPECT_EQ(file.readInteger("S", "empty", 5), 5);
    EXPECT_EQ(file.readInteger("S", "word", 5), 5);
    EXPECT_EQ(file.readInteger("S", "big", 5), 5);
    EXPECT_EQ(file.readInteger("S", "hex", 5), 31);
    EXPECT_EQ(file.readInteger("S", "dollar", 5), 16);
    EXPECT_EQ(file.readInteger("S", "q", 5), 7);
    EXPECT_EQ(file.readString("S", "word", "d"), "abc");
    EXPECT_EQ(file.readString("S", "empty", "d"), "");  // present but empty: no default
}

TEST(ProfileFile, ValueCappedAndCutAtNul) {
    ScratchDir dir;
    const std::string path = dir.file("a.ini");
    std::string content = "[S]\nlong=" + std::string(3000, 'x') + "\nnul=12";
    content += '\0';
    content += "34\nzeros=" + std::string(2047, '0') + "9\n";
    writeFile(path, content);
    const ProfileFile file(path);
    EXPECT_EQ(file.readString("S", "long", ""), std::string(2047, 'x'));
    EXPECT_EQ(file.readString("S", "nul", ""), "12");
    EXPECT_EQ(file.readInteger("S", "zeros", 5), 0);  // the ninth digit is past the cap
}

TEST(ProfileFile, LargeAndBinaryFilesLoad) {
    ScratchDir dir;
    const std::string path = dir.file("big.ini");
    std::string content;
    uint32_t seed = 12345;
    while (content.size() < (1u << 20)) {
        seed = seed * 1103515245 + 12345;
        content += static_cast<char>(seed >> 16);  // NUL, CR, LF, '[' and '=' included
    }
    content += "\n[Tarvex]\r\n" + std::string(3000, ' ') + "Version=1\r\n";
    writeFile(path, content);
    const ProfileFile file(path);
    EXPECT_EQ(file.readInteger("Tarvex", "Version", 0), 1);
    EXPECT_EQ(file.readInteger("PD", "Pol", 1), 1);
    ProfileFile(path).writeInteger("Tarvex", "Version", 0);
    const std::string after = readFile(path);
    EXPECT_EQ(after.substr(0, content.size() - 3), content.substr(0, content.size() - 3));
    EXPECT_EQ(after.substr(content.size() - 3), "0\r\n");
}

TEST(ProfileFile, FailedWriteThrowsExactMessage) {
    ScratchDir dir;
    const std::string path = dir.file("missing/TVCONFIG.INI");
    ProfileFile file(path);
    try {
        file.writeString("Frequency", "STD", "10");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), path + " に書き込めません");
    }
    // A directory in the file's place.
    std::filesystem::create_directories(dir.file("TVCONFIG.INI"));
    EXPECT_THROW(ProfileFile(dir.file("TVCONFIG.INI")).writeInteger("PD", "Pol", 1), Error);
}

TEST(ProfileFile, FailedWriteLeavesOldContentAndNoTemporary) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no per-process file-size limit to make a write fail";
#else
    ScratchDir dir;
    const std::string path = dir.file("TVCONFIG.INI");
    const std::string old = "; keep me\r\n[PD]\r\nPol=0\r\n";
    writeFile(path, old);
    // A file-size limit below the new content makes the temporary file's write
    // fail as a full disk would (EFBIG instead of ENOSPC).
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = old.size() + 10;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        ProfileFile(path).writeString("Frequency", "LocalOutput", std::string(100, '1'));
    } catch (const Error&) {
        threw = true;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_TRUE(threw);
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator{}),
              1);
#endif
}

TEST(ProfileFile, BatchMatchesWritesOneByOne) {
    ScratchDir dir;
    const std::string original = "; notes\r\n[b]\r\n X = 1 \r\n\r\n[Other]\r\nk=v\r\n";
    const std::vector<ProfileFile::Entry> entries{
        {"A", "one", "1"}, {"B", "x", "2"}, {"a", "two", "x\ny"}, {"C", "z", ""}, {"b", "X", "1"}};
    const std::string batched = dir.file("batched.ini");
    const std::string single = dir.file("single.ini");
    writeFile(batched, original);
    writeFile(single, original);
    ProfileFile(batched).writeAll(entries);
    ProfileFile one(single);
    for (const auto& e : entries) one.writeString(e.section, e.key, e.value);
    EXPECT_EQ(readFile(batched), readFile(single));
}

TEST(ProfileFile, BatchThatCannotBeWrittenWholeLeavesTheFileAsItWas) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no per-process file-size limit to make a write fail";
#else
    ScratchDir dir;
    const std::string path = dir.file("TVCONFIG.INI");
    const std::string old = "; notes\n[S]\nfirst=0\nsecond=0\n";
    writeFile(path, old);
    // Under the limit the first two entries would fit one by one, the whole batch
    // does not: none of them may reach the file. The child reports 0 for the
    // write error with its message.
    const std::string message = path + " に書き込めません";
    const test::ChildEnd end = test::runUnderFileSizeLimit(old.size() + 2, [&] {
        try {
            ProfileFile(path).writeAll(
                {{"S", "first", "1"}, {"S", "second", "2"}, {"S", "third", "3"}});
            return 1;
        } catch (const Error& e) {
            return e.what() == message ? 0 : 2;
        }
    });
    EXPECT_EQ(end.signal, 0);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator{}),
              1);
#endif
}

TEST(ProfileFile, ReadOnlyUnreadableOrDirectoryIsNeverReplaced) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX permission bits; Windows refuses read-only (FileReplaceWin32)";
#else
    const bool root = ::geteuid() == 0;  // reads and writes through the permission bits
    struct Row {
        const char* what;
        bool directory;  // a directory in the file's place
        mode_t mode;
        bool link;      // TVCONFIG.INI a symbolic link to the file
        int readError;  // what readError() says
    } rows[] = {
        {"no write bit", false, 0444, false, 0},
        {"no write bit, behind a link", false, 0444, true, 0},
        {"no permission at all", false, 0000, false, root ? 0 : EACCES},
        {"a directory", true, 0755, false, EISDIR},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ScratchDir dir;
        const std::string path = dir.file("TVCONFIG.INI");
        const std::string real = row.link ? dir.file("real.ini") : path;
        const std::string old = "[PD]\nPol=0\n";
        if (row.directory) {
            std::filesystem::create_directory(real);
        } else {
            writeFile(real, old);
        }
        ASSERT_EQ(::chmod(real.c_str(), row.mode), 0);
        if (row.link) std::filesystem::create_symlink("real.ini", path);
        ProfileFile file(path);
        EXPECT_EQ(file.readError(), row.readError);
        EXPECT_THROW(file.writeAll({{"PD", "Pol", "1"}, {"Tarvex", "Version", "1"}}), Error);
        EXPECT_EQ(std::filesystem::is_directory(real) ? "directory" : readFile(real),
                  row.directory ? "directory" : old);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                                std::filesystem::directory_iterator{}),
                  row.link ? 2 : 1);
        ::chmod(real.c_str(), 0700);
    }
#endif
}

TEST(ProfileFile, ModeAndSymbolicLinkKept) {
#ifdef _WIN32
    GTEST_SKIP()
        << "POSIX permission bits and symbolic links; Windows keeps attributes (FileReplaceWin32)";
#else
    ScratchDir dir;
    const std::string target = dir.file("real.ini");
    const std::string link = dir.file("TVCONFIG.INI");
    writeFile(target, "[PD]\nPol=0\n");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    std::filesystem::create_symlink("real.ini", link);
    ProfileFile(link).writeInteger("PD", "Pol", 1);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(target), "[PD]\nPol=1\n");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
#endif
}

TEST(ProfileFile, WrittenValueIsOneLine) {
    ScratchDir dir;
    const std::string path = dir.file("a.ini");
    ProfileFile file(path);
    file.writeString("Frequency", "LocalOutput", "123\n[Tarvex]\nVersion=1");
    EXPECT_EQ(readFile(path), "[Frequency]\nLocalOutput=123\n");
}

TEST(ProfileFile, UnchangedValueLeavesFileAlone) {
    ScratchDir dir;
    const std::string path = dir.file("a.ini");
    writeFile(path, "[A]\r\n x = 1 \r\n");
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ProfileFile(path).writeInteger("a", "X", 1);
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // a replace would have made a new file
    EXPECT_EQ(readFile(path), "[A]\r\n x = 1 \r\n");
    ProfileFile(path).writeInteger("a", "X", 2);
    EXPECT_EQ(readFile(path), "[A]\r\n x = 2\r\n");
    ProfileFile(path).writeString("A", "y", "");  // a new empty entry is still written
    EXPECT_EQ(readFile(path), "[A]\r\n x = 2\r\ny=\r\n");
}

TEST(ProfileFile, EachWriteStartsFromTheFileOnDisk) {
    ScratchDir dir;
    const std::string path = dir.file("a.ini");
    ProfileFile file(path);
    file.writeInteger("A", "x", 1);
    writeFile(path, readFile(path) + "added=elsewhere\n");
    file.writeInteger("A", "y", 2);
    EXPECT_EQ(readFile(path), "[A]\nx=1\nadded=elsewhere\ny=2\n");
}

}  // namespace
}  // namespace tv
