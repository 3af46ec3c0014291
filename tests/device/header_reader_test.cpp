// The header reader is the export's inverse: every header "save" writes reads
// back to its table, and anything else is refused at the line that is wrong.
#include "device/header_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "device/header_export.h"

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
            // Mostly 24-bit words, now and then any 32-bit value (options out of range).
            const auto word = [&] {
                const uint32_t bits = static_cast<uint32_t>(random());
                return static_cast<int32_t>(random() % 4 == 0 ? bits : bits & 0xFFFFFF);
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

}  // namespace
}  // namespace tv
