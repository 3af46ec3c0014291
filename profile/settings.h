#pragma once
// The operator's choices kept in TVCONFIG.INI: fifteen entries in seven sections,
// as options/option_table.h lists them.
#include <string>

#include "options/option_table.h"

namespace tv {

// The fifteen entries read in their fixed order, and the device entry of a found
// port; a missing file gives the defaults.
Settings loadSettings(const std::string& path);

// The fifteen entries written in their fixed order (the device entry after
// portname when it is set), as one replace of the file
// when that can be done (one wait on the disk instead of fifteen). When it cannot,
// they are written one by one, each an update of the file by itself: a failed
// write throws tv::Error("<path> に書き込めません") and the entries after it are
// not written.
void saveSettings(const std::string& path, const Settings& settings);

// directory + "/TVCONFIG.INI" (\TVCONFIG.INI on Windows), joined without looking
// at a trailing separator.
std::string settingsPath(const std::string& directory);

}  // namespace tv
