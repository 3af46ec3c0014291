#pragma once
// How the system this program runs on names its serial ports: the device a port
// name opens, one spelling per device, the name the port list shows, and where
// an operator looks when a port does not open or replies slowly. One source per
// platform (platform_port_posix.cpp, platform_port_win32.cpp), so that callers
// need no #ifdef.
#include <optional>
#include <string>

#include "ports/port_name.h"

namespace tv {

// The device a port name opens here: "comN" through TVCONFIG_COMN, else
// /dev/ttyS<N-1> on Linux and \\.\COMN on Windows; nullopt when it names none.
std::optional<std::string> platformPortDevice(const std::string& name, const EnvLookup& env);

// One spelling per device, so that two names of the same port compare equal: a
// /dev/serial/by-id link and the node it points to on Linux; \\.\COM15, COM15
// and com15 on Windows.
std::string sameDeviceKey(const std::string& device);

// The name the port list gives a port the system found at `systemLocation`
// (`portName` is the system's short name): lower-case "com15" on Windows, as
// com1 to com12 are listed; on Linux the stable /dev/serial/by-id link where
// one exists, else the device path.
std::string listedPortName(const std::string& systemLocation, const std::string& portName);

// A phrase that follows "for example", such as "its link under /dev/serial/by-id".
const char* unitDeviceHint();

// How to set a USB serial adapter's latency timer to 1 ms here.
const char* latencyTimerAdvice();

}  // namespace tv
