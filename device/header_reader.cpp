#include "device/header_reader.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <vector>

#include "os/file_error.h"

namespace tv {

namespace {

constexpr int kLines = 1 + 5 * ChannelTable::kChannels;

struct Line {
    std::string_view text;
    bool ended = false;  // by CR LF or LF
};

// The lines of `text`; a CR counts as part of a line ending only before an LF.
std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t lf = text.find('\n', begin);
        if (lf == std::string_view::npos) {
            lines.push_back({text.substr(begin), false});
            break;
        }
        size_t end = lf;
        if (end > begin && text[end - 1] == '\r') --end;
        lines.push_back({text.substr(begin, end - begin), true});
        begin = lf + 1;
    }
    return lines;
}

bool isUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

class Reader {
public:
    Reader(std::string_view text, const std::string& fileName)
        : m_lines(splitLines(text)), m_fileName(fileName) {}

    ChannelTable read() {
        expectPrefix(1, "//", "\"//\" and the date of the export");
        ChannelTable table;
        for (int c = 0; c < ChannelTable::kChannels; ++c) {
            const size_t i = static_cast<size_t>(c);
            const int first = 2 + 5 * c;
            const std::string prefix = "//" + std::to_string(c) + "  ";
            table.description[i] = std::string(expectPrefix(
                first, prefix,
                "\"" + prefix + "\" and the description of channel " + std::to_string(c)));
            table.InitReg[i] = word(first + 1, "InitReg");
            table.RefReg[i] = word(first + 2, "RefReg");
            table.NReg[i] = word(first + 3, "NReg");
            table.FuncReg[i] = word(first + 4, "FuncReg");
        }
        if (m_lines.size() > static_cast<size_t>(kLines)) {
            fail(kLines + 1, "the end of the file after line " + std::to_string(kLines));
        }
        return table;
    }

private:
    [[noreturn]] void fail(int number, const std::string& expected) const {
        throw HeaderFormatError(m_fileName, number, expected);
    }

    // Line `number` (from 1), which must exist; only the last may lack its line end.
    std::string_view line(int number, const std::string& expected) const {
        const size_t i = static_cast<size_t>(number - 1);
        if (i >= m_lines.size()) fail(number, expected + " (the file ends before)");
        if (!m_lines[i].ended && number < kLines) fail(number, expected + " and a line end");
        return m_lines[i].text;
    }

    // The rest of line `number` after `prefix`.
    std::string_view expectPrefix(int number, const std::string& prefix,
                                  const std::string& expected) const {
        const std::string_view text = line(number, expected);
        if (text.substr(0, prefix.size()) != prefix) fail(number, expected);
        return text.substr(prefix.size());
    }

    // "  0x" + 8 uppercase hexadecimal digits + ",    //" + name.
    int32_t word(int number, const char* name) const {
        const std::string expected =
            "\"  0x\", 8 uppercase hexadecimal digits and \",    //" + std::string(name) + "\"";
        const std::string_view text = line(number, expected);
        const std::string suffix = ",    //" + std::string(name);
        if (text.size() != 4 + 8 + suffix.size() || text.substr(0, 4) != "  0x" ||
            text.substr(12) != suffix) {
            fail(number, expected);
        }
        uint32_t value = 0;
        for (const char c : text.substr(4, 8)) {
            if (!isUpperHex(c)) fail(number, expected);
            value = value * 16 + static_cast<uint32_t>(c <= '9' ? c - '0' : c - 'A' + 10);
        }
        // The export writes a negative word as its two's complement.
        return static_cast<int32_t>(value);
    }

    std::vector<Line> m_lines;
    const std::string& m_fileName;
};

}  // namespace

HeaderFormatError::HeaderFormatError(const std::string& fileName, int line,
                                     const std::string& expected)
    : std::runtime_error(fileName + ": line " + std::to_string(line) + ": expected " + expected),
      m_line(line),
      m_expected(expected) {}

ChannelTable parseHeader(std::string_view text, const std::string& fileName) {
    return Reader(text, fileName).read();
}

ChannelTable readHeaderFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw fileError(errno != 0 ? errno : ENOENT);
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) throw fileError(EIO);
    return parseHeader(content.str(), path);
}

}  // namespace tv
