#include "profile/profile_file.h"

#include <cerrno>

#include "os/errors.h"
#include "profile/file_replace.h"
#include "profile/profile_integer.h"

namespace tv {

ProfileFile::ProfileFile(std::string path) : m_path(std::move(path)) {}

const ProfileDocument& ProfileFile::document() const {
    if (!m_document) {
        std::string content;
        // Missing or unreadable: every entry takes its default, without a message.
        if (readWholeFile(m_path, content) != 0) {
            content.clear();
        }
        m_document.emplace(content);
    }
    return *m_document;
}

std::string ProfileFile::readString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
    const auto value = document().value(section, key);
    if (!value) {
        return defaultValue;
    }
    // The value is handed on as a C string would carry it, and no longer than the
    // 2048-character buffer the format has always been read into.
    std::string_view text = *value;
    text = text.substr(0, text.find('\0'));
    return std::string(text.substr(0, kMaxValueLength));
}

int32_t ProfileFile::readInteger(const std::string& section, const std::string& key,
                                 int32_t defaultValue) const {
    return parseProfileInteger(readString(section, key, {})).value_or(defaultValue);
}

int ProfileFile::readForUpdate(std::string& content) const {
    // Start from the file as it is now, not from what was read at start-up. A file
    // that exists but cannot be read cannot be updated without losing it.
    const int err = readWholeFile(m_path, content);
    return err == ENOENT ? 0 : err;
}

bool ProfileFile::setLine(ProfileDocument& document, const std::string& section,
                          const std::string& key, const std::string& value) {
    // One line of text: a line break would start an entry of its own.
    constexpr std::string_view kCuts("\r\n\0", 3);
    const std::string_view line = std::string_view(value).substr(0, value.find_first_of(kCuts));
    // An entry that already reads as this value is left as it is: no rewrite, no
    // wait for the disk (the exit save mostly writes back what start-up read).
    if (document.value(section, key) == line) return false;
    document.set(section, key, line);
    return true;
}

void ProfileFile::writeString(const std::string& section, const std::string& key,
                              const std::string& value) {
    std::string content;
    int err = readForUpdate(content);
    if (err == 0) {
        ProfileDocument document(content);
        if (setLine(document, section, key, value)) err = replaceFile(m_path, document.text());
        if (err == 0) m_document = std::move(document);
    }
    if (err != 0) {
        throw Error(m_path + " に書き込めません");
    }
}

void ProfileFile::writeAll(const std::vector<Entry>& entries) {
    std::string content;
    if (readForUpdate(content) == 0) {
        ProfileDocument document(content);
        bool changed = false;
        for (const Entry& e : entries) changed |= setLine(document, e.section, e.key, e.value);
        if (!changed || replaceFile(m_path, document.text()) == 0) {
            m_document = std::move(document);
            return;
        }
    }
    for (const Entry& e : entries) writeString(e.section, e.key, e.value);
}

void ProfileFile::writeInteger(const std::string& section, const std::string& key, int32_t value) {
    writeString(section, key, std::to_string(value));
}

}  // namespace tv
