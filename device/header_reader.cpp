#include "device/header_reader.h"

#include <cstdint>
#include <memory>
#include <optional>

#include "device/header_lines.h"
#include "os/regular_file_reader.h"
#include "os/sha256.h"

namespace tv {

namespace {

constexpr int kLines = 1 + 5 * ChannelTable::kChannels;
// A latch of the synthesizer chip takes 24 bits; the image sends each word as
// four bytes, so a wider word would reach the unit as something else.
constexpr uint32_t kLargestWord = 0xFFFFFF;

bool isUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

class Reader {
public:
    Reader(HeaderLines& lines, const std::string& fileName)
        : m_lines(lines), m_fileName(fileName) {}

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
        if (m_lines.next()) {
            fail(kLines + 1, "the end of the file after line " + std::to_string(kLines));
        }
        return table;
    }

private:
    [[noreturn]] void fail(int number, const std::string& expected) const {
        throw HeaderFormatError(m_fileName, number, expected);
    }

    // Line `number` (from 1, asked for in order), which must exist; only the last
    // may lack its line end.
    std::string line(int number, const std::string& expected) {
        std::optional<HeaderLine> next = m_lines.next();
        if (!next) fail(number, expected + " (the file ends before)");
        if (next->tooLong) {
            fail(number, expected + ", in a line of at most " +
                             std::to_string(HeaderLines::kMaxLineBytes) + " bytes");
        }
        if (!next->ended && number < kLines) fail(number, expected + " and a line end");
        return std::move(next->text);
    }

    // The rest of line `number` after `prefix`.
    std::string expectPrefix(int number, const std::string& prefix, const std::string& expected) {
        const std::string text = line(number, expected);
        if (text.substr(0, prefix.size()) != prefix) fail(number, expected);
        return text.substr(prefix.size());
    }

    // "  0x" + 8 uppercase hexadecimal digits + ",    //" + name.
    int32_t word(int number, const char* name) {
        const std::string expected =
            "\"  0x\", 8 uppercase hexadecimal digits and \",    //" + std::string(name) + "\"";
        const std::string text = line(number, expected);
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
        // Only options out of their range make a wider word (the export writes a
        // negative one as its two's complement); no unit can take it.
        if (value > kLargestWord) {
            fail(number,
                 "a latch word of 24 bits, 0x00000000 to 0x00FFFFFF, not 0x" + text.substr(4, 8));
        }
        return static_cast<int32_t>(value);
    }

    HeaderLines& m_lines;
    const std::string& m_fileName;
};

}  // namespace

HeaderFormatError::HeaderFormatError(const std::string& fileName, int line,
                                     const std::string& expected)
    : std::runtime_error(fileName + ": line " + std::to_string(line) + ": expected " + expected),
      m_line(line),
      m_expected(expected) {}

ChannelTable parseHeader(std::string_view text, const std::string& fileName) {
    HeaderLines lines([&text](char* buffer, size_t size) {
        const size_t n = text.copy(buffer, size);
        text.remove_prefix(n);
        return n;
    });
    return Reader(lines, fileName).read();
}

ChannelTable readHeaderFile(const std::string& path) {
    const std::unique_ptr<RegularFileReader> file = openRegularFile(path);
    HeaderLines lines([&file](char* buffer, size_t size) { return file->read(buffer, size); });
    return Reader(lines, path).read();
}

HeaderFileContent readHeaderFileWithDigest(const std::string& path) {
    const std::unique_ptr<RegularFileReader> file = openRegularFile(path);
    Sha256 hash;
    const auto readHashing = [&file, &hash](char* buffer, size_t size) {
        const size_t n = file->read(buffer, size);
        hash.add({buffer, n});
        return n;
    };
    HeaderLines lines(readHashing);
    HeaderFileContent content{Reader(lines, path).read(), {}};
    // The reader has seen the end already; whatever it did not ask for is hashed too.
    char rest[512];
    while (readHashing(rest, sizeof rest) > 0) {
    }
    content.sha256 = hash.finishHex();
    return content;
}

}  // namespace tv
