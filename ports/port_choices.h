#pragma once
// The ports offered beyond com1 to com12: which ones, how they read, and how a
// chosen one is remembered in the settings file and found again.
#include <optional>
#include <string>
#include <vector>

#include "ports/port_lister.h"
#include "ports/port_name.h"

namespace tv {

// "com1" to "com12" come first in the list, at fixed indices.
inline constexpr int kFixedPorts = 12;

// The found ports that none of com1 to com12 already names (on Linux through
// TVCONFIG_COMN or /dev/ttyS<N-1>, on Windows through TVCONFIG_COMN or COMN),
// in the order found.
std::vector<FoundPort> portsBeyondTheFixed(const std::vector<FoundPort>& found,
                                           const EnvLookup& env);

// The found port that the port name `port` opens (through TVCONFIG_COMN or the
// system's own mapping, a by-id link or the node it points to): for the USB
// serial number in tvprog's log. nullopt when none of them is it.
std::optional<FoundPort> foundPortOpenedBy(const std::string& port,
                                           const std::vector<FoundPort>& found,
                                           const EnvLookup& env);

// The list item: the port name first, then what tells two adapters apart
// ("com15  (USB Serial Port, FTDI, S/N A600XYZ)").
std::string portItemText(const FoundPort& port);
// The item of a remembered port that is not there now.
std::string absentPortItemText(const std::string& name);

// Whether the device that the port name `name` opens is there now, though the
// listing does not show it (a path typed into the port box, a link to a
// pseudo-terminal): such a port is not marked absent.
bool portDevicePresent(const std::string& name, const EnvLookup& env);

// A chosen port as the settings entry keeps it: its name and, where it has one,
// its USB serial number, so the same adapter is found under another name.
struct RememberedPort {
    std::string name;
    std::string serialNumber;
    bool operator==(const RememberedPort&) const = default;
};

// "name" or "name;serial": the value of [rs232c1] device=.
std::string rememberedPortText(const RememberedPort& port);
// The value read back; nullopt for an empty one.
std::optional<RememberedPort> parseRememberedPort(const std::string& text);

// The index in `ports` of the remembered port: with a serial number, the port
// with that number (the same name first); without one, the port of that name.
std::optional<size_t> findRememberedPort(const std::vector<FoundPort>& ports,
                                         const RememberedPort& wanted);

}  // namespace tv
