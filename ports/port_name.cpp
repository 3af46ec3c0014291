#include "ports/port_name.h"

#include <cstdlib>

namespace tv {

EnvLookup processEnvironment() {
    return [](const std::string& name) -> std::optional<std::string> {
        const char* value = std::getenv(name.c_str());
        if (value == nullptr) return std::nullopt;
        return std::string(value);
    };
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::optional<std::string> resolvePortName(const std::string& name, const EnvLookup& env) {
    if (!name.empty() && name.front() == '/') return name;
    if (name.size() < 4 || name.size() > 6) return std::nullopt;
    if (lower(name[0]) != 'c' || lower(name[1]) != 'o' || lower(name[2]) != 'm') {
        return std::nullopt;
    }
    const std::string digits = name.substr(3);
    if (digits.front() == '0') return std::nullopt;
    for (char c : digits) {
        if (!isDigit(c)) return std::nullopt;
    }
    if (env) {
        if (auto mapped = env("TVCONFIG_COM" + digits); mapped && !mapped->empty()) return mapped;
    }
    return "/dev/ttyS" + std::to_string(std::stoi(digits) - 1);
}

}  // namespace tv
