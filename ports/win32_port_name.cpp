#include "ports/win32_port_name.h"

#include <cctype>

namespace tv {

namespace {

// The digits of "comN", or nullopt when the name has another form.
std::optional<std::string> comDigits(const std::string& name) {
    if (name.size() < 4 || name.size() > 6) return std::nullopt;
    for (size_t i = 0; i < 3; ++i) {
        if (std::tolower(static_cast<unsigned char>(name[i])) != "com"[i]) return std::nullopt;
    }
    const std::string digits = name.substr(3);
    if (digits.front() == '0') return std::nullopt;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    }
    return digits;
}

}  // namespace

std::optional<std::string> resolveWin32PortName(const std::string& name, const EnvLookup& env) {
    if (name.empty()) return std::nullopt;
    const auto digits = comDigits(name);
    if (!digits) return name;
    if (env) {
        if (auto mapped = env("TVCONFIG_COM" + *digits); mapped && !mapped->empty()) return mapped;
    }
    return "\\\\.\\COM" + *digits;
}

}  // namespace tv
