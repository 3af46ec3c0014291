#pragma once
// The operator's choices kept in TVCONFIG.INI: fifteen entries in seven sections.
#include <cstdint>
#include <string>

namespace tv {

// Each field holds the default that a missing or unreadable entry gets.
struct Settings {
    int32_t portname = 0;
    int32_t BAUD = 0;
    int32_t Channel = 0;
    int32_t Pol = 1;
    int32_t Out = 1;
    int32_t current1 = 3;
    std::string LocalOutput = "12340";
    std::string Multiplier = "100";
    std::string STD = "10";
    int32_t LDP = 0;
    int32_t AntiBackLash = 0;
    int32_t TimerCountCTRL = 0;
    int32_t CPOut = 0;
    int32_t PSCValue = 1;
    int32_t Version = 0;
};

// The fifteen entries read in their fixed order; a missing file gives the defaults.
Settings loadSettings(const std::string& path);

// The fifteen entries written in their fixed order, as one replace of the file
// when that can be done (one wait on the disk instead of fifteen). When it cannot,
// they are written one by one, each an update of the file by itself: a failed
// write throws tv::Error("<path> に書き込めません") and the entries after it are
// not written.
void saveSettings(const std::string& path, const Settings& settings);

// directory + "/TVCONFIG.INI" (\TVCONFIG.INI on Windows), joined without looking
// at a trailing separator.
std::string settingsPath(const std::string& directory);

}  // namespace tv
