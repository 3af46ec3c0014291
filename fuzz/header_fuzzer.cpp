// libFuzzer target for the header reader that tvprog and tvcalc use. Each input
// is read as a header; whatever it holds, the reader either gives a table of
// 24-bit words or refuses it with a HeaderFormatError. A table it gives is
// exported again and must read back the same; and the lines come out the same
// whether the bytes arrive at once or a few at a time, as from a file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/header_export.h"
#include "device/header_lines.h"
#include "device/header_reader.h"

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

std::vector<tv::HeaderLine> allLines(std::string_view bytes, size_t piece) {
    tv::HeaderLines lines([&bytes, piece](char* buffer, size_t size) {
        const size_t n = bytes.copy(buffer, std::min(size, piece));
        bytes.remove_prefix(n);
        return n;
    });
    std::vector<tv::HeaderLine> all;
    while (std::optional<tv::HeaderLine> line = lines.next()) all.push_back(std::move(*line));
    return all;
}

bool sameLines(const std::vector<tv::HeaderLine>& a, const std::vector<tv::HeaderLine>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].text != b[i].text || a[i].ended != b[i].ended || a[i].tooLong != b[i].tooLong) {
            return false;
        }
    }
    return true;
}

void checkTable(const tv::ChannelTable& table) {
    for (size_t c = 0; c < tv::ChannelTable::kChannels; ++c) {
        for (const int32_t word :
             {table.InitReg[c], table.RefReg[c], table.NReg[c], table.FuncReg[c]}) {
            check(word >= 0 && word <= 0xFFFFFF, "a 24-bit word");
        }
    }
    std::tm time{};
    time.tm_year = 110;
    time.tm_mday = 1;
    const tv::ChannelTable again = tv::parseHeader(tv::headerText(table, time), "again.h");
    check(again.InitReg == table.InitReg && again.RefReg == table.RefReg &&
              again.NReg == table.NReg && again.FuncReg == table.FuncReg &&
              again.description == table.description,
          "an exported table reads back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        checkTable(tv::parseHeader(bytes, "fuzz.h"));
    } catch (const tv::HeaderFormatError& e) {
        check(e.line() >= 1 && e.line() <= 42, "a line of the header or the one after");
    }
    const std::vector<tv::HeaderLine> whole = allLines(bytes, bytes.size() + 1);
    // Pieces of 1 to 4 bytes put every line end and UTF-16 unit across a boundary.
    const size_t piece = size == 0 ? 1 : 1 + data[0] % 4;
    check(sameLines(whole, allLines(bytes, piece)), "lines independent of the pieces");
    return 0;
}
