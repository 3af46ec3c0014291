#pragma once
// The value of a command-line option given as "--name VALUE" or "--name=VALUE",
// shared by the command-line programs.
#include <optional>
#include <string>
#include <vector>

namespace tv {

// The option name of args[i]: the text before any "=".
inline std::string optionName(const std::string& arg) { return arg.substr(0, arg.find('=')); }

// The value of the option at args[i]: after its "=", or else the next argument,
// which `i` then moves to. nullopt when there is neither.
inline std::optional<std::string> optionValue(const std::vector<std::string>& args, size_t& i) {
    const size_t equals = args[i].find('=');
    if (equals != std::string::npos) return args[i].substr(equals + 1);
    if (i + 1 < args.size()) return args[++i];
    return std::nullopt;
}

}  // namespace tv
