#pragma once
// Reads back a header written by "save" (header_export.h): the 41 lines into the
// channel table they were made from, also after an editor has saved it again
// with LF or CR line ends, a UTF-8 byte order mark or as UTF-16 (header_lines.h).
// Every word must be a 24-bit latch word.
#include <stdexcept>
#include <string>
#include <string_view>

#include "device/channel_table.h"

namespace tv {

// A header that is not in the exported form. what() reads
// "<file>: line <n>: expected <what was expected>".
class HeaderFormatError : public std::runtime_error {
public:
    HeaderFormatError(const std::string& fileName, int line, const std::string& expected);
    int line() const { return m_line; }
    const std::string& expected() const { return m_expected; }

private:
    int m_line;
    std::string m_expected;
};

// The table of the header bytes `text`; `fileName` only names it in errors. The
// date line is not checked beyond its "//"; descriptions are taken byte for byte
// (from UTF-16: as UTF-8).
ChannelTable parseHeader(std::string_view text, const std::string& fileName);

// The same for the file at `path`, read line by line: memory stays small whatever
// the file, and reading stops at the first line that is wrong. Anything but a
// regular file throws tv::NotRegularFileError before a byte is read
// (os/regular_file_reader.h); a file that cannot be read throws tv::InOutError
// (os/file_error.h).
ChannelTable readHeaderFile(const std::string& path);

// A header file read once: its table, and the SHA-256 of the very bytes the
// table was parsed from. What tvprog sends and what its log names cannot come
// from two versions of a file replaced in between.
struct HeaderFileContent {
    ChannelTable table;
    std::string sha256;  // 64 lowercase hexadecimal digits, as sha256sum prints them
};

// As readHeaderFile(), with the same refusals.
HeaderFileContent readHeaderFileWithDigest(const std::string& path);

}  // namespace tv
