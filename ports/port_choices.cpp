#include "ports/port_choices.h"

#include <algorithm>
#include <filesystem>

#include "ports/platform_port.h"

namespace tv {

namespace {

// Port names compare without regard to ASCII case ("COM15" is "com15").
bool sameName(const std::string& a, const std::string& b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<std::string> deviceOfFixed(int number, const EnvLookup& env) {
    return platformPortDevice("com" + std::to_string(number), env);
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

std::optional<FoundPort> foundPortOpenedBy(const std::string& port,
                                           const std::vector<FoundPort>& found,
                                           const EnvLookup& env) {
    const std::string wanted = sameDeviceKey(platformPortDevice(port, env).value_or(port));
    for (const FoundPort& candidate : found) {
        if (sameDeviceKey(candidate.device) == wanted || sameDeviceKey(candidate.name) == wanted)
            return candidate;
    }
    return std::nullopt;
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

bool portDevicePresent(const std::string& name, const EnvLookup& env) {
    const auto device = platformPortDevice(name, env);
    if (!device) return false;
    try {
        // Names are UTF-8 here; on Windows a plain string would be read in the ANSI
        // code page, and bytes that are not UTF-8 cannot be converted at all.
        const std::filesystem::path path(std::u8string(device->begin(), device->end()));
        std::error_code error;  // a name the file system cannot look at is not there
        return std::filesystem::exists(path, error);
    } catch (const std::exception&) {
        return false;
    }
}

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
        const bool named = sameName(ports[i].name, wanted.name);
        if (wanted.serialNumber.empty()) {
            if (named) return i;
        } else if (ports[i].serialNumber == wanted.serialNumber) {
            if (named) return i;
            if (!byNumber) byNumber = i;
        }
    }
    return byNumber;
}

}  // namespace tv
