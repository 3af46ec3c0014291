// The system's listing of serial ports, by Qt Serial Port.
#include <QSerialPortInfo>
#include <filesystem>

#include "app/ports/port_lister.h"

namespace tv {

namespace {

#ifndef _WIN32
// The /dev/serial/by-id link to `device`: unlike ttyUSB0 it names the adapter
// by maker, model and serial number, and stays when the adapter is plugged
// into another socket or after another one.
std::string stableLinkTo(const std::string& device) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target = fs::canonical(device, ec);
    if (ec) return device;
    for (fs::directory_iterator it("/dev/serial/by-id", ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code linkError;
        if (fs::canonical(it->path(), linkError) == target && !linkError)
            return it->path().string();
    }
    return device;
}
#endif

class QtPortLister : public PortLister {
public:
    std::vector<FoundPort> list() override {
        std::vector<FoundPort> ports;
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
            FoundPort port;
            port.device = info.systemLocation().toStdString();
#ifdef _WIN32
            // Lower case, as com1 to com12 are listed.
            port.name = info.portName().toLower().toStdString();
#else
            port.name = stableLinkTo(port.device);
#endif
            port.description = info.description().toStdString();
            port.manufacturer = info.manufacturer().toStdString();
            if (info.hasVendorIdentifier()) port.vendorId = info.vendorIdentifier();
            if (info.hasProductIdentifier()) port.productId = info.productIdentifier();
            port.serialNumber = info.serialNumber().toStdString();
            ports.push_back(std::move(port));
        }
        return ports;
    }
};

}  // namespace

std::unique_ptr<PortLister> makeSystemPortLister() { return std::make_unique<QtPortLister>(); }

}  // namespace tv
