#include "profile/settings.h"

#include "os/path_separator.h"
#include "profile/profile_file.h"

namespace tv {

Settings loadSettings(const std::string& path) {
    const ProfileFile file(path);
    const Settings defaults;
    Settings s;
    s.portname = file.readInteger("rs232c1", "portname", defaults.portname);
    s.BAUD = file.readInteger("rs232c1", "BAUD", defaults.BAUD);
    s.Channel = file.readInteger("Memory", "Channel", defaults.Channel);
    s.Pol = file.readInteger("PD", "Pol", defaults.Pol);
    s.Out = file.readInteger("MUX", "Out", defaults.Out);
    s.current1 = file.readInteger("PD", "current1", defaults.current1);
    s.LocalOutput = file.readString("Frequency", "LocalOutput", defaults.LocalOutput);
    s.Multiplier = file.readString("Frequency", "Multiplier", defaults.Multiplier);
    s.STD = file.readString("Frequency", "STD", defaults.STD);
    s.LDP = file.readInteger("PD", "LDP", defaults.LDP);
    s.AntiBackLash = file.readInteger("PD", "AntiBackLash", defaults.AntiBackLash);
    s.TimerCountCTRL = file.readInteger("PD", "TimerCountCTRL", defaults.TimerCountCTRL);
    s.CPOut = file.readInteger("PD", "CPOut", defaults.CPOut);
    // Read as VALUE, written as Value: one entry, since names ignore case.
    s.PSCValue = file.readInteger("PSC", "VALUE", defaults.PSCValue);
    s.Version = file.readInteger("Tarvex", "Version", defaults.Version);
    return s;
}

void saveSettings(const std::string& path, const Settings& s) {
    const auto number = [](int32_t v) { return std::to_string(v); };
    // The order of writing: it decides where a new file puts each section and key.
    ProfileFile(path).writeAll({
        {"Frequency", "LocalOutput", s.LocalOutput},
        {"Frequency", "Multiplier", s.Multiplier},
        {"Frequency", "STD", s.STD},
        {"rs232c1", "portname", number(s.portname)},
        {"rs232c1", "BAUD", number(s.BAUD)},
        {"PD", "Pol", number(s.Pol)},
        {"MUX", "Out", number(s.Out)},
        {"PD", "current1", number(s.current1)},
        {"Memory", "Channel", number(s.Channel)},
        {"PD", "LDP", number(s.LDP)},
        {"PD", "AntiBackLash", number(s.AntiBackLash)},
        {"PD", "TimerCountCTRL", number(s.TimerCountCTRL)},
        {"PD", "CPOut", number(s.CPOut)},
        {"PSC", "Value", number(s.PSCValue)},
        {"Tarvex", "Version", number(s.Version)},
    });
}

std::string settingsPath(const std::string& directory) {
    return directory + kPathSeparator + "TVCONFIG.INI";
}

}  // namespace tv
