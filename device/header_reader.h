#pragma once
// Reads back a header written by "save" (header_export.h): the 41 lines, each
// ended by CR LF or by LF alone, into the channel table they were made from.
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

// The table of the header text `text`; `fileName` only names it in errors. The
// date line is not checked beyond its "//"; descriptions are taken byte for byte.
ChannelTable parseHeader(std::string_view text, const std::string& fileName);

// The same for the file at `path`. A file that cannot be read throws
// tv::InOutError (os/file_error.h).
ChannelTable readHeaderFile(const std::string& path);

}  // namespace tv
