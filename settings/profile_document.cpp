#include "settings/profile_document.h"

namespace tv {

namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr size_t npos = std::string_view::npos;

std::string_view trim(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char ch) { return ch >= 'A' && ch <= 'Z' ? char(ch - 'A' + 'a') : ch; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// The name of a section header line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    const std::string_view text = trim(line);
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    const std::string_view inside = text.substr(1);
    return trim(inside.substr(0, inside.find(']')));
}

struct Entry {
    std::string_view key;
    size_t valueStart;  // where the value begins in the line, after "=" and blanks
};

std::optional<Entry> entryOf(std::string_view line) {
    const std::string_view text = trim(line);
    if (text.empty() || text.front() == ';' || text.front() == '#' || text.front() == '[') {
        return std::nullopt;
    }
    const size_t equals = line.find('=');
    if (equals == npos) {
        return std::nullopt;
    }
    size_t valueStart = line.find_first_not_of(kBlanks, equals + 1);
    if (valueStart == npos) {
        valueStart = line.size();
    }
    return Entry{trim(line.substr(0, equals)), valueStart};
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

ProfileDocument::ProfileDocument(std::string_view bytes) {
    const std::string decoded = decodeText(bytes, m_form);
    std::string_view text = decoded;
    while (!text.empty()) {
        // CR LF, LF and CR alone all end a line; each line keeps the end it had.
        const size_t end = text.find_first_of("\r\n");
        if (end == npos) {
            m_lines.push_back({std::string(text), {}});
            break;
        }
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        const size_t width = crlf ? 2 : 1;
        m_lines.push_back({std::string(text.substr(0, end)), std::string(text.substr(end, width))});
        text.remove_prefix(end + width);
    }
}

size_t ProfileDocument::findSection(std::string_view section) const {
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i].content);
        if (name && equalNoCase(*name, section)) {
            return i;
        }
    }
    return npos;
}

std::optional<std::string_view> ProfileDocument::value(std::string_view section,
                                                       std::string_view key) const {
    const size_t header = findSection(section);
    if (header == npos) {
        return std::nullopt;
    }
    for (size_t i = header + 1; i < m_lines.size(); ++i) {
        const std::string_view line = m_lines[i].content;
        if (sectionName(line)) {
            break;
        }
        const auto entry = entryOf(line);
        if (entry && equalNoCase(entry->key, key)) {
            return unquote(trim(line.substr(entry->valueStart)));
        }
    }
    return std::nullopt;
}

void ProfileDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    const size_t header = findSection(section);
    if (header == npos) {
        // A blank line before the new section, unless the file ends in one already.
        if (!m_lines.empty() && !trim(m_lines.back().content).empty()) {
            insertLine(m_lines.size(), {});
        }
        insertLine(m_lines.size(), "[" + std::string(section) + "]");
        insertLine(m_lines.size(), std::string(key) + "=" + std::string(value));
        return;
    }
    // New keys go after the section's last entry, so that blank lines and comments
    // that lead into the next section stay in front of it.
    size_t last = header;
    for (size_t i = header + 1; i < m_lines.size(); ++i) {
        std::string& line = m_lines[i].content;
        if (sectionName(line)) {
            break;
        }
        const auto entry = entryOf(line);
        if (!entry) {
            continue;
        }
        if (equalNoCase(entry->key, key)) {
            line.replace(entry->valueStart, npos, value);
            return;
        }
        last = i;
    }
    insertLine(last + 1, std::string(key) + "=" + std::string(value));
}

void ProfileDocument::insertLine(size_t index, std::string content) {
    const std::string end = lineEnd();
    // A last line without a line end gets one before anything is put behind it.
    if (index > 0 && m_lines[index - 1].end.empty()) {
        m_lines[index - 1].end = end;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(index),
                   Line{std::move(content), end});
}

std::string ProfileDocument::lineEnd() const {
    for (const Line& line : m_lines) {
        if (!line.end.empty()) {
            return line.end;
        }
    }
    return "\n";
}

std::string ProfileDocument::text() const {
    size_t size = 0;
    for (const Line& line : m_lines) {
        size += line.content.size() + line.end.size();
    }
    std::string text;
    text.reserve(size);
    for (const Line& line : m_lines) {
        text += line.content;
        text += line.end;
    }
    return encodeText(text, m_form);
}

}  // namespace tv
