#include "settings/settings.h"

#include "os/path_separator.h"
#include "settings/profile_file.h"

namespace tv {

Settings loadSettings(const std::string& path, std::string* readFailure) {
    const ProfileFile file(path);
    Settings s;
    for (const SettingRow& row : kSettings) {
        const std::string section(row.section);
        const std::string key(row.readKey);
        if (row.number != nullptr) {
            s.*row.number = file.readInteger(section, key, row.defaultNumber);
        } else {
            s.*row.text = file.readString(section, key, std::string(row.defaultText));
        }
    }
    s.device = file.readString(std::string(kDeviceSection), std::string(kDeviceKey), "");
    if (readFailure != nullptr) *readFailure = file.readFailure();
    return s;
}

void saveSettings(const std::string& path, const Settings& s) {
    std::vector<ProfileFile::Entry> entries;
    entries.reserve(kSettingWriteOrder.size());
    for (const size_t index : kSettingWriteOrder) {
        const SettingRow& row = kSettings[index];
        entries.push_back({std::string(row.section), std::string(row.writeKey),
                           row.number != nullptr ? std::to_string(s.*row.number) : s.*row.text});
        // A found port goes right after portname, in the same section.
        if (row.number == &Settings::portname && !s.device.empty()) {
            entries.push_back({std::string(kDeviceSection), std::string(kDeviceKey), s.device});
        }
    }
    ProfileFile(path).writeAll(entries);
}

std::string settingsPath(const std::string& directory) {
    return directory + kPathSeparator + "TVCONFIG.INI";
}

}  // namespace tv
