// The header reader is the export's inverse: every header "save" writes reads
// back to its table, and anything else is refused at the line that is wrong.
#include "device/header_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <unistd.h>

#include "device/header_export.h"
#include "device/header_lines.h"
#include "os/sha256.h"
#include "os/text_form.h"

namespace tv {
namespace {

std::tm someTime(int hour) {
    std::tm t{};
    t.tm_year = 110;
    t.tm_mon = 11;
    t.tm_mday = 31;
    t.tm_hour = hour;  // 0 leaves the time out of the date line
    t.tm_min = 59;
    return t;
}

// The same lines ended by LF alone.
std::string withLF(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    }
    return out;
}

std::string toUtf16(const std::string& text, bool littleEndian) {
    TextForm form;
    form.encoding = littleEndian ? TextForm::Encoding::Utf16Le : TextForm::Encoding::Utf16Be;
    form.byteOrderMark = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    return encodeText(text, form);
}

// The lines of `text` (ended by CR LF) ended by `end` instead.
std::string withEnds(const std::string& text, const std::string& end) {
    std::string out;
    for (size_t begin = 0, lf; (lf = text.find("\r\n", begin)) != std::string::npos;
         begin = lf + 2) {
        out += text.substr(begin, lf - begin) + end;
    }
    return out;
}

void expectSameTable(const ChannelTable& got, const ChannelTable& want) {
    EXPECT_EQ(got.InitReg, want.InitReg);
    EXPECT_EQ(got.RefReg, want.RefReg);
    EXPECT_EQ(got.NReg, want.NReg);
    EXPECT_EQ(got.FuncReg, want.FuncReg);
    EXPECT_EQ(got.description, want.description);
}

TEST(HeaderReader, ReadsBackEveryTableTheExportWrites) {
    const std::vector<std::string> descriptions = {"",
                                                   "12340MHz, STD=10MHz, PD=200kHz, I=2.50mA",
                                                   "1MHz, STD=1MHz, PD=  kHz, I=",
                                                   "周波数 12340MHz",
                                                   "  //0  0x00000000,    //InitReg",
                                                   "ends in CR\r"};
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        ChannelTable table;
        for (size_t c = 0; c < ChannelTable::kChannels; ++c) {
            // Any 24-bit word; wider ones are refused (RefusesAnythingElse...).
            const auto word = [&] {
                const uint32_t bits = static_cast<uint32_t>(random());
                return static_cast<int32_t>(random() % 4 == 0 ? 0xFFFFFF : bits & 0xFFFFFF);
            };
            table.InitReg[c] = word();
            table.RefReg[c] = word();
            table.NReg[c] = word();
            table.FuncReg[c] = word();
            table.description[c] = descriptions[random() % descriptions.size()];
        }
        if (round == 0) table = ChannelTable{};  // "save" straight after start
        const std::string text = headerText(table, someTime(round % 2 == 0 ? 0 : 23));
        SCOPED_TRACE(text);
        expectSameTable(parseHeader(text, "a.h"), table);
        // Converted to LF, a description ending in CR reads as a CR LF line end.
        const bool crAtEnd = std::any_of(table.description.begin(), table.description.end(),
                                         [](const std::string& d) { return d.ends_with('\r'); });
        if (!crAtEnd) expectSameTable(parseHeader(withLF(text), "a.h"), table);
    }
}

TEST(HeaderReader, RefusesAnythingElseNamingFileLineAndExpectation) {
    ChannelTable table;
    table.description[2] = "ch2";
    const std::string good = headerText(table, someTime(12));
    const auto replaceLine = [&](int number, const std::string& with) {
        size_t begin = 0;
        for (int i = 1; i < number; ++i) begin = good.find('\n', begin) + 1;
        const size_t end = good.find('\n', begin) + 1;
        return good.substr(0, begin) + with + good.substr(end);
    };
    const auto firstLines = [&](int count) {
        size_t end = 0;
        for (int i = 0; i < count; ++i) end = good.find('\n', end) + 1;
        return good.substr(0, end);
    };
    struct Case {
        const char* what;
        std::string text;
        int line;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"empty file", "", 1, "\"//\" and the date"},
        {"no date line", replaceLine(1, "# 2010\r\n"), 1, "\"//\" and the date"},
        {"channel digit wrong", replaceLine(7, "//2  x\r\n"), 7, "\"//1  \""},
        {"one blank after the digit", replaceLine(2, "//0 \r\n"), 2, "\"//0  \""},
        {"lower-case digits", replaceLine(3, "  0x00abcdef,    //InitReg\r\n"), 3, "uppercase"},
        {"seven digits", replaceLine(4, "  0x0000000,    //RefReg\r\n"), 4, "//RefReg"},
        {"words swapped", replaceLine(5, "  0x00000000,    //FuncReg\r\n"), 5, "//NReg"},
        {"comma missing", replaceLine(6, "  0x00000000    //FuncReg\r\n"), 6, "//FuncReg"},
        {"truncated", firstLines(20), 21, "the file ends before"},
        {"line without end", good.substr(0, good.find('\n')), 1, "a line end"},
        {"a line after the last", good + "\r\n", 42, "the end of the file"},
        {"word of 25 bits", replaceLine(3, "  0x010D8093,    //InitReg\r\n"), 3,
         "a latch word of 24 bits, 0x00000000 to 0x00FFFFFF, not 0x010D8093"},
        {"negative word", replaceLine(6, "  0xFFFFFFFF,    //FuncReg\r\n"), 6, "not 0xFFFFFFFF"},
        {"a line longer than any export's", std::string(HeaderLines::kMaxLineBytes + 1, '/'), 1,
         "in a line of at most"},
        {"an export and then a megabyte", good + std::string(1 << 20, '\0'), 42,
         "the end of the file"},
        {"UTF-16 without its byte order mark", toUtf16(good, true).substr(2), 1, "\"//\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            parseHeader(c.text, "bad.h");
            ADD_FAILURE() << "accepted";
        } catch (const HeaderFormatError& e) {
            EXPECT_EQ(e.line(), c.line);
            EXPECT_NE(e.expected().find(c.expected), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("bad.h: line " + std::to_string(c.line), 0), 0u)
                << e.what();
        }
    }
    // The last line may lack its line end, as an editor may leave it.
    expectSameTable(parseHeader(good.substr(0, good.size() - 2), "a.h"), table);
}

TEST(HeaderReader, ReadsTheFormsAnEditorSavesTheExportIn) {
    ChannelTable table;
    for (size_t c = 0; c < ChannelTable::kChannels; ++c) {
        table.InitReg[c] = static_cast<int32_t>(0x0D8093 + c);
        table.FuncReg[c] = 0xFFFFFF;
        table.description[c] = "周波数 " + std::to_string(12340 + c) + "MHz";
    }
    const std::string crlf = headerText(table, someTime(23));
    const std::string cr = withEnds(crlf, "\r");
    std::string mixed = cr;  // line 2 ends in LF, line 3 in CR LF
    mixed.replace(mixed.find('\r', mixed.find('\r') + 1), 1, "\n");
    mixed.replace(mixed.find('\r', mixed.find('\n')), 1, "\r\n");
    const struct {
        const char* what;
        std::string bytes;
    } forms[] = {
        {"LF", withEnds(crlf, "\n")},
        {"CR", cr},
        {"CR, the last line without", cr.substr(0, cr.size() - 1)},
        {"CR, then mixed", mixed},
        {"UTF-8 mark", "\xEF\xBB\xBF" + crlf},
        {"UTF-8 mark, LF", "\xEF\xBB\xBF" + withEnds(crlf, "\n")},
        {"UTF-16 LE", toUtf16(crlf, true)},
        {"UTF-16 BE", toUtf16(crlf, false)},
        {"UTF-16 LE, CR, no last end", toUtf16(cr.substr(0, cr.size() - 1), true)},
        {"UTF-16 BE, LF", toUtf16(withEnds(crlf, "\n"), false)},
    };
    // tvprog's read gives the table and the digest of the file's own bytes, not of
    // the lines as decoded: one read, so a file replaced meanwhile cannot split them.
    const std::string file = ::testing::TempDir() + "forms-" + std::to_string(::getpid()) + ".h";
    for (const auto& form : forms) {
        SCOPED_TRACE(form.what);
        expectSameTable(parseHeader(form.bytes, "a.h"), table);
        std::ofstream(file, std::ios::binary) << form.bytes;
        const HeaderFileContent content = readHeaderFileWithDigest(file);
        expectSameTable(content.table, table);
        EXPECT_EQ(content.sha256, sha256Hex(form.bytes));
    }
    std::filesystem::remove(file);
}

TEST(HeaderReader, ReadsOnlyRegularFiles) {
    const std::string dir = ::testing::TempDir() + "header-reader-" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    const ChannelTable table;
    const std::string good = headerText(table, someTime(1));
    std::ofstream(dir + "/good.h", std::ios::binary) << good;
    // 200 MB on the disk's books, almost nothing on it: a sparse tail of zeros.
    std::filesystem::copy_file(dir + "/good.h", dir + "/long.h");
    std::filesystem::resize_file(dir + "/long.h", 200u << 20);
    struct Case {
        const char* what;
        std::string path;
        std::string error;  // empty: reads
    };
    std::vector<Case> cases = {
        {"an export", dir + "/good.h", ""},
        {"missing", dir + "/none.h", "ファイルが見つかりません"},
        {"a directory", dir, "a directory, not a regular file"},
        {"an export and 200 MB of zeros", dir + "/long.h", "line 42: expected the end"},
    };
#ifdef _WIN32
    cases.push_back({"the null device", "NUL", "a device, not a regular file"});
#else
    ASSERT_EQ(::mkfifo((dir + "/fifo.h").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir + "/zero.h");
    cases.push_back({"a FIFO with no writer", dir + "/fifo.h", "a FIFO (named pipe), not a "});
    cases.push_back({"/dev/zero", "/dev/zero", "a device, not a regular file"});
    cases.push_back({"a link to /dev/zero", dir + "/zero.h", "a device, not a regular file"});
    std::filesystem::create_symlink("loop-b.h", dir + "/loop-a.h");
    std::filesystem::create_symlink("loop-a.h", dir + "/loop-b.h");
    cases.push_back({"a loop of links", dir + "/loop-a.h",
                     "I/O エラー (40): Too many levels of symbolic links"});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            expectSameTable(readHeaderFile(c.path), table);
            EXPECT_EQ(c.error, "");
        } catch (const std::exception& e) {
            EXPECT_NE(c.error, "");
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
        }
    }
    std::filesystem::remove_all(dir);
}

TEST(HeaderLines, StopsAnEndlessLineAtTheLongestAnExportHas) {
    size_t given = 0;
    HeaderLines lines([&given](char* buffer, size_t size) {
        std::fill(buffer, buffer + size, 'x');
        given += size;
        return size;
    });
    const std::optional<HeaderLine> line = lines.next();
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->tooLong);
    EXPECT_FALSE(lines.next());
    EXPECT_LE(given, 2 * HeaderLines::kMaxLineBytes);
}

}  // namespace
}  // namespace tv
