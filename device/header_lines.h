#pragma once
// The lines of a header file, taken one at a time so that no file, however
// large, is held whole: an export is 41 short lines, and reading stops at the
// first line that is not one of them.
//
// The text may be UTF-8 (or any 8-bit text, taken byte for byte) with or without
// a byte order mark, or UTF-16 of either byte order behind its mark, as an
// editor may save the export again; UTF-16 lines come out as UTF-8, as the
// settings file reads them (os/text_form.h). The end of line 1, which holds only
// "//" and a date, decides how lines end: after LF or CR LF, lines end in LF or
// CR LF, and a CR elsewhere belongs to its line (a description may hold one);
// after a CR alone, lines end in CR, LF or CR LF.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tv {

struct HeaderLine {
    std::string text;      // without its line end
    bool ended = false;    // a line end follows
    bool tooLong = false;  // longer than kMaxLineBytes: text is empty, reading stops
};

class HeaderLines {
public:
    // No export line comes near this: the longest, a description, is two edit
    // fields of at most 32767 characters and a few short texts.
    static constexpr size_t kMaxLineBytes = 256 * 1024;

    // `read` fills its buffer with up to its size of the next bytes, 0 at the end.
    using ByteSource = std::function<size_t(char*, size_t)>;
    explicit HeaderLines(ByteSource read);

    // The next line, or nothing at the end of the text.
    std::optional<HeaderLine> next();

private:
    enum class Ends { Unknown, LineFeed, CarriageReturn };

    bool have(size_t bytes);  // at least `bytes` unread bytes are buffered (reads if needed)
    unsigned unitAt(size_t offset) const;  // the code unit `offset` bytes past m_pos
    std::optional<HeaderLine> take(size_t length, size_t endLength, bool ended);

    ByteSource m_read;
    std::string m_buffer;  // read and not yet taken from m_pos on
    std::vector<char> m_chunk;
    size_t m_pos = 0;
    bool m_atEnd = false;    // the source has no more bytes
    bool m_started = false;  // the byte order mark has been looked for
    bool m_stopped = false;  // a line was too long: nothing more is read
    size_t m_unit = 1;       // bytes per code unit
    bool m_utf16 = false;
    bool m_littleEndian = false;
    Ends m_ends = Ends::Unknown;
};

}  // namespace tv
