#include "os/temporary_name.h"

namespace tv {

std::string temporaryPrefix(std::string_view name) { return "." + std::string(name) + "."; }

std::string temporaryName(std::string_view prefix, std::uint64_t pid, unsigned n) {
    return std::string(prefix) + std::to_string(pid) + "." + std::to_string(n) + ".tmp";
}

std::uint64_t temporaryOwner(std::string_view name, std::string_view prefix, size_t maxPidDigits) {
    constexpr std::string_view kSuffix = ".tmp";
    if (name.size() <= prefix.size() + kSuffix.size() || name.substr(0, prefix.size()) != prefix ||
        name.substr(name.size() - kSuffix.size()) != kSuffix) {
        return 0;
    }
    name = name.substr(prefix.size(), name.size() - prefix.size() - kSuffix.size());
    const size_t dot = name.find('.');
    const std::string_view pid = name.substr(0, dot);
    const std::string_view counter = dot == std::string_view::npos ? "" : name.substr(dot + 1);
    const auto digits = [](std::string_view text) {
        return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!digits(pid) || !digits(counter) || pid.size() > maxPidDigits) {
        return 0;
    }
    std::uint64_t owner = 0;
    for (const char c : pid) owner = owner * 10 + static_cast<std::uint64_t>(c - '0');
    return owner;
}

}  // namespace tv
