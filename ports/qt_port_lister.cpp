// The system's listing of serial ports, by Qt Serial Port.
#include <QSerialPortInfo>

#include "ports/platform_port.h"
#include "ports/port_lister.h"

namespace tv {

namespace {

class QtPortLister : public PortLister {
public:
    std::vector<FoundPort> list() override {
        std::vector<FoundPort> ports;
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
            FoundPort port;
            port.device = info.systemLocation().toStdString();
            port.name = listedPortName(port.device, info.portName().toStdString());
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
