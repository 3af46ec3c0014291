#include "ports/platform_port.h"
#include "ports/win32_port_name.h"

namespace tv {

namespace {

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

std::optional<std::string> platformPortDevice(const std::string& name, const EnvLookup& env) {
    return resolveWin32PortName(name, env);
}

std::string sameDeviceKey(const std::string& device) {
    // \\.\COM15 and COM15 are the same port; names ignore case.
    std::string key = lowerCase(device);
    if (key.rfind("\\\\.\\", 0) == 0) key.erase(0, 4);
    return key;
}

std::string listedPortName(const std::string&, const std::string& portName) {
    return lowerCase(portName);
}

const char* unitDeviceHint() {
    return "the COM port that Device Manager lists for it under \"Ports (COM & LPT)\"";
}

const char* latencyTimerAdvice() {
    return "set it to 1 ms in Device Manager: the port's Properties, Port Settings, Advanced.";
}

}  // namespace tv
