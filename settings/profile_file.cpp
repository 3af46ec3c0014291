#include "settings/profile_file.h"

#include <cerrno>

#include "os/errors.h"
#include "os/safe_replace.h"
#include "os/system_error_text.h"
#include "settings/profile_integer.h"

namespace tv {

ProfileFile::ProfileFile(std::string path) : m_path(std::move(path)) {}

const ProfileDocument& ProfileFile::document() const {
    if (!m_document) {
        std::string content;
        // Missing or unreadable: every entry takes its default. A missing file is
        // no news; an unreadable one is kept in m_readError for the caller to tell.
        std::string notRegular;
        const int err = readWholeFile(m_path, content, &notRegular);
        if (err != 0) {
            content.clear();
        }
        m_readError = err == ENOENT ? 0 : err;
        m_readFailure = notRegular.empty() ? systemErrorText(m_readError) : notRegular;
        m_document.emplace(content);
    }
    return *m_document;
}

int ProfileFile::readError() const {
    document();
    return m_readError;
}

std::string ProfileFile::readFailure() const {
    document();
    return m_readFailure;
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
    writeAll({{section, key, value}});
}

void ProfileFile::writeAll(const std::vector<Entry>& entries) {
    std::string content;
    int err = readForUpdate(content);
    if (err == 0) {
        ProfileDocument document(content);
        bool changed = false;
        for (const Entry& e : entries) changed |= setLine(document, e.section, e.key, e.value);
        if (changed) err = replaceFile(m_path, document.text());
        if (err == 0) {
            m_document = std::move(document);
            return;
        }
    }
    // Nothing was written: the file on disk is still the one it was, byte for byte.
    throw Error(m_path + " に書き込めません");
}

void ProfileFile::writeInteger(const std::string& section, const std::string& key, int32_t value) {
    writeString(section, key, std::to_string(value));
}

}  // namespace tv
