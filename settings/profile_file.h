#pragma once
// A settings (profile) file on disk: entries read with defaults, each write (or
// batch of writes) a complete and safe update of the file, or none at all.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/profile_document.h"

namespace tv {

class ProfileFile {
public:
    static constexpr size_t kMaxValueLength = 2047;

    // Nothing is read or written yet; a missing file is no error.
    explicit ProfileFile(std::string path);

    // The stored value (at most kMaxValueLength characters, up to a NUL byte), or
    // `defaultValue` when the file, the section or the key is missing. An
    // unreadable file counts as missing (readError() says why).
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    // The value read as an integer (see parseProfileInteger), or `defaultValue`
    // when it is missing, empty, malformed or out of range.
    int32_t readInteger(const std::string& section, const std::string& key,
                        int32_t defaultValue) const;

    // 0 when the file was read or is missing; otherwise the system's code
    // (errno; GetLastError() on Windows) of the failure that made every entry read
    // as its default.
    int readError() const;
    // The same failure in words: what the path is when it is no regular file
    // ("a FIFO (named pipe), not a regular file"), else the system's text
    // ("Permission denied"). Empty when readError() is 0.
    std::string readFailure() const;

    // Writes the entry into the file as it is on disk now and replaces the file
    // safely; a missing file is created, an entry that already reads as `value` is
    // left alone. `value` is cut at its first line break or NUL, which the file
    // could not hold. A file that cannot be read, or that is read-only, is not
    // replaced. Throws tv::Error("<path> に書き込めません"), the file untouched.
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, int32_t value);

    // Makes a batch of writes, in order, as one replace of the file: the result is
    // the file that the writes one by one would leave, for one wait on the disk.
    // When that replace fails, none of them is made: the file stays byte for byte
    // as it was (never half new, half old) and the error is thrown as above.
    struct Entry {
        std::string section, key, value;
    };
    void writeAll(const std::vector<Entry>& entries);

    const std::string& path() const { return m_path; }

private:
    const ProfileDocument& document() const;
    // The file as it is on disk now; 0, or the errno that keeps it from being updated.
    int readForUpdate(std::string& content) const;
    // Sets the entry in `document`; false when it already read as `value`.
    static bool setLine(ProfileDocument& document, const std::string& section,
                        const std::string& key, const std::string& value);

    std::string m_path;
    // Read on first use and kept in step with our own writes.
    mutable std::optional<ProfileDocument> m_document;
    mutable int m_readError = 0;
    mutable std::string m_readFailure;
};

}  // namespace tv
