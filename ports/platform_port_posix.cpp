#include <filesystem>

#include "ports/platform_port.h"

namespace tv {

std::optional<std::string> platformPortDevice(const std::string& name, const EnvLookup& env) {
    return resolvePortName(name, env);
}

std::string sameDeviceKey(const std::string& device) {
    // A by-id link and the node it points to are the same port.
    std::error_code ec;
    const auto canonical = std::filesystem::canonical(device, ec);
    return ec ? device : canonical.string();
}

// The /dev/serial/by-id link to the device: unlike ttyUSB0 it names the adapter
// by maker, model and serial number, and stays when the adapter is plugged into
// another socket or after another one.
std::string listedPortName(const std::string& systemLocation, const std::string&) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target = fs::canonical(systemLocation, ec);
    if (ec) return systemLocation;
    for (fs::directory_iterator it("/dev/serial/by-id", ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code linkError;
        if (fs::canonical(it->path(), linkError) == target && !linkError)
            return it->path().string();
    }
    return systemLocation;
}

// udev's names stay the same whichever order adapters are plugged in.
const char* unitDeviceHint() { return "its link under /dev/serial/by-id"; }

const char* latencyTimerAdvice() {
    return "set it to 1 ms (as root: echo 1 > /sys/bus/usb-serial/devices/ttyUSB0/latency_timer,"
           " with the adapter's own tty name).";
}

}  // namespace tv
