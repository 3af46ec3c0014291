#pragma once
// A settings (profile) file on disk: entries read with defaults, each write a
// complete and safe update of the file by itself.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "profile/profile_document.h"

namespace tv {

class ProfileFile {
public:
    static constexpr size_t kMaxValueLength = 2047;

    // Nothing is read or written yet; a missing file is no error.
    explicit ProfileFile(std::string path);

    // The stored value (at most kMaxValueLength characters, up to a NUL byte), or
    // `defaultValue` when the file, the section or the key is missing. An
    // unreadable file counts as missing.
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    // The value read as an integer (see parseProfileInteger), or `defaultValue`
    // when it is missing, empty, malformed or out of range.
    int32_t readInteger(const std::string& section, const std::string& key,
                        int32_t defaultValue) const;

    // Writes the entry into the file as it is on disk now and replaces the file
    // safely; a missing file is created, an entry that already reads as `value` is
    // left alone. `value` is cut at its first line break or NUL, which the file
    // could not hold. Throws tv::Error("<path> に書き込めません").
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, int32_t value);

    // Makes a batch of writes, in order, as one replace of the file: the result is
    // the file that the writes one by one would leave, for one wait on the disk.
    // When that replace fails, the writes are made one by one after all, so those
    // that can be made stay in the file and the first that cannot throws.
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
};

}  // namespace tv
