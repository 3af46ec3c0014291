#pragma once
// The operator's choices kept in TVCONFIG.INI: fifteen entries in seven sections,
// as options/option_table.h lists them.
#include <string>

#include "options/option_table.h"

namespace tv {

// The fifteen entries read in their fixed order, and the device entry of a found
// port; a missing file gives the defaults. So does a file that cannot be read;
// `readFailure`, when given, is then set to why, in words ("Permission denied",
// "a FIFO (named pipe), not a regular file"; empty otherwise).
Settings loadSettings(const std::string& path, std::string* readFailure = nullptr);

// The fifteen entries written in their fixed order (the device entry after
// portname when it is set), as one replace of the file (one wait on the disk
// instead of fifteen). A save that cannot be made whole (an unreadable or
// read-only file, a full disk, a file-size limit) throws
// tv::Error("<path> に書き込めません") and leaves the file byte for byte as it was.
void saveSettings(const std::string& path, const Settings& settings);

// directory + "/TVCONFIG.INI" (\TVCONFIG.INI on Windows), joined without looking
// at a trailing separator.
std::string settingsPath(const std::string& directory);

}  // namespace tv
