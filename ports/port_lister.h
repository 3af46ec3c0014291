#pragma once
// The serial ports present on this machine, as the port choice and tvprog list
// them. Plain C++: the window's tests feed lists of their own.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tv {

struct FoundPort {
    // What the port is opened by, the text handed to `portname`: "com15" on
    // Windows; on Linux the stable /dev/serial/by-id link where there is one,
    // else the device path.
    std::string name;
    std::string device;        // the system's location: \\.\COM15, /dev/ttyUSB0
    std::string description;   // the driver's friendly name
    std::string manufacturer;  // the maker
    std::optional<uint16_t> vendorId, productId;
    std::string serialNumber;  // the USB serial number; empty where unknown
};

class PortLister {
public:
    virtual ~PortLister() = default;
    // Every serial port present now, in the system's order.
    virtual std::vector<FoundPort> list() = 0;
};

// The system's own listing.
std::unique_ptr<PortLister> makeSystemPortLister();

}  // namespace tv
