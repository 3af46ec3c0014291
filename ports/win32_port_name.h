#pragma once
// Which device a port name stands for on Windows.
#include <optional>
#include <string>

#include "ports/port_name.h"

namespace tv {

// "comN" (any case, N from 1 to 999 without leading zeros) names the device in
// the variable TVCONFIG_COMN when that is set and not empty, else \\.\COMN: the
// device-namespace form, which every port number needs from COM10 on. Any other
// name that is not empty is the system's own device name or path and is used as
// it stands. The empty name names no device: nullopt.
std::optional<std::string> resolveWin32PortName(const std::string& name, const EnvLookup& env);

}  // namespace tv
