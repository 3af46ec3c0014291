#pragma once
// The text of a settings file as lines: looked up by section and key, and
// edited so that every line not written to stays byte for byte as it was.
//
// Lexical rules, those of the profile files the operators' other tools write:
// - a line ends in CR LF, LF or CR alone; the last line may have no line end;
//   lines keep their own ends, and new lines take the first end in the file (LF
//   in a file that has none yet);
// - the text is UTF-8 or 8-bit, or UTF-16 (little- or big-endian) behind a byte
//   order mark; a file is written back in the form it came in (text_form.h), and
//   a byte order mark is kept but is not part of the first line;
// - "[name]" begins a section (blanks around the name ignored, text after "]" too);
// - "key=value" is an entry; blanks around key and value are ignored, and one pair
//   of matching quotes ('...' or "...") around the value is taken off on reading;
// - lines beginning with ";" or "#" are comments; other lines without "=" are kept
//   but mean nothing; entries before the first section belong to no section;
// - section and key names match without regard to ASCII case; when a section or a
//   key appears twice, the first one counts.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/text_form.h"

namespace tv {

class ProfileDocument {
public:
    ProfileDocument() = default;
    explicit ProfileDocument(std::string_view bytes);

    // The value of the entry, or nothing when the section or the key is missing.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;

    // Replaces the value of an existing entry in place (its key and the blanks around
    // "=" stay as they were), or adds "key=value" after the last entry of the section,
    // or adds the section at the end. `value` must be one line.
    void set(std::string_view section, std::string_view key, std::string_view value);

    // The file's bytes, in the form they were read in.
    std::string text() const;

private:
    struct Line {
        std::string content;  // without its line end
        std::string end;      // "\n", "\r\n", "\r", or empty for a last line without one
    };

    // The index of the first section header with this name, or npos.
    size_t findSection(std::string_view section) const;
    // The line end for new lines: the file's own, LF for a file that has none yet.
    std::string lineEnd() const;
    void insertLine(size_t index, std::string content);

    TextForm m_form;
    std::vector<Line> m_lines;
};

}  // namespace tv
