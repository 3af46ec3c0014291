#pragma once
// Which device a port name stands for on this system.
#include <functional>
#include <optional>
#include <string>

namespace tv {

// Looks up an environment variable; nullopt when it is not set.
using EnvLookup = std::function<std::optional<std::string>(const std::string& name)>;

// The process environment.
EnvLookup processEnvironment();

// "comN" (any case, N from 1 to 999 without leading zeros) names the device in
// the variable TVCONFIG_COMN when that is set and not empty, else /dev/ttyS<N-1>.
// A name that begins with "/" is a path and is used as it stands.
// Anything else, the empty name included, names no device: nullopt.
std::optional<std::string> resolvePortName(const std::string& name, const EnvLookup& env);

}  // namespace tv
