#include "app/profile/settings.h"

#include "app/profile/profile_file.h"

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
    ProfileFile file(path);
    file.writeString("Frequency", "LocalOutput", s.LocalOutput);
    file.writeString("Frequency", "Multiplier", s.Multiplier);
    file.writeString("Frequency", "STD", s.STD);
    file.writeInteger("rs232c1", "portname", s.portname);
    file.writeInteger("rs232c1", "BAUD", s.BAUD);
    file.writeInteger("PD", "Pol", s.Pol);
    file.writeInteger("MUX", "Out", s.Out);
    file.writeInteger("PD", "current1", s.current1);
    file.writeInteger("Memory", "Channel", s.Channel);
    file.writeInteger("PD", "LDP", s.LDP);
    file.writeInteger("PD", "AntiBackLash", s.AntiBackLash);
    file.writeInteger("PD", "TimerCountCTRL", s.TimerCountCTRL);
    file.writeInteger("PD", "CPOut", s.CPOut);
    file.writeInteger("PSC", "Value", s.PSCValue);
    file.writeInteger("Tarvex", "Version", s.Version);
}

std::string settingsPath(const std::string& directory) {
    return directory + "/TVCONFIG.INI";
}

}  // namespace tv
