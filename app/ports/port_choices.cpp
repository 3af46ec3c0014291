#include "app/ports/port_choices.h"

#include <algorithm>
#include <filesystem>

#ifdef _WIN32
#include "serial/win32_port_name.h"
#endif

namespace tv {

namespace {

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// One spelling per device, so that two names of the same port compare equal.
std::string sameDeviceKey(const std::string& device) {
#ifdef _WIN32
    // \\.\COM15 and COM15 are the same port; names ignore case.
    std::string key = lowerCase(device);
    if (key.rfind("\\\\.\\", 0) == 0) key.erase(0, 4);
    return key;
#else
    // A by-id link and the node it points to are the same port.
    std::error_code ec;
    const auto canonical = std::filesystem::canonical(device, ec);
    return ec ? device : canonical.string();
#endif
}

std::optional<std::string> deviceOfFixed(int number, const EnvLookup& env) {
    const std::string name = "com" + std::to_string(number);
#ifdef _WIN32
    return resolveWin32PortName(name, env);
#else
    return resolvePortName(name, env);
#endif
}

}  // namespace

std::vector<FoundPort> portsBeyondTheFixed(const std::vector<FoundPort>& found,
                                           const EnvLookup& env) {
    std::vector<std::string> fixed;
    for (int n = 1; n <= kFixedPorts; ++n) {
        if (auto device = deviceOfFixed(n, env)) fixed.push_back(sameDeviceKey(*device));
    }
    std::vector<FoundPort> beyond;
    for (const FoundPort& port : found) {
        const bool named = std::any_of(fixed.begin(), fixed.end(), [&](const std::string& key) {
            return key == sameDeviceKey(port.device) || key == sameDeviceKey(port.name);
        });
        if (!named) beyond.push_back(port);
    }
    return beyond;
}

std::string portItemText(const FoundPort& port) {
    std::vector<std::string> parts;
    if (!port.description.empty()) parts.push_back(port.description);
    if (!port.manufacturer.empty() && port.manufacturer != port.description)
        parts.push_back(port.manufacturer);
    if (!port.serialNumber.empty()) parts.push_back("S/N " + port.serialNumber);
    std::string text = port.name;
    for (size_t i = 0; i < parts.size(); ++i) text += (i == 0 ? "  (" : ", ") + parts[i];
    return parts.empty() ? text : text + ")";
}

std::string absentPortItemText(const std::string& name) { return name + "  (not present)"; }

std::string rememberedPortText(const RememberedPort& port) {
    return port.serialNumber.empty() ? port.name : port.name + ";" + port.serialNumber;
}

std::optional<RememberedPort> parseRememberedPort(const std::string& text) {
    const size_t split = text.find(';');
    RememberedPort port{text.substr(0, split),
                        split == std::string::npos ? std::string() : text.substr(split + 1)};
    if (port.name.empty()) return std::nullopt;
    return port;
}

std::optional<size_t> findRememberedPort(const std::vector<FoundPort>& ports,
                                         const RememberedPort& wanted) {
    std::optional<size_t> byNumber;
    for (size_t i = 0; i < ports.size(); ++i) {
        const bool sameName = lowerCase(ports[i].name) == lowerCase(wanted.name);
        if (wanted.serialNumber.empty()) {
            if (sameName) return i;
        } else if (ports[i].serialNumber == wanted.serialNumber) {
            if (sameName) return i;
            if (!byNumber) byNumber = i;
        }
    }
    return byNumber;
}

}  // namespace tv
