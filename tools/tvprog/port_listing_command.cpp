#include "tools/tvprog/port_listing_command.h"

#include <iostream>
#include <string>

#include "os/hex_text.h"
#include "ports/port_choices.h"
#include "tools/tvprog/prog_command_line.h"

namespace tv {

namespace {

std::string usbIds(const FoundPort& port) {
    if (!port.vendorId || !port.productId) return {};
    // Lower case, as the system's own USB listings show ids.
    return hexDigits(*port.vendorId, 4, HexCase::Lower) + ":" +
           hexDigits(*port.productId, 4, HexCase::Lower);
}

// Tabs and line ends would break a row of the table.
std::string cell(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

}  // namespace

void printPorts(std::ostream& out, const std::vector<FoundPort>& ports, bool tsv) {
    if (tsv) out << "Port\tDevice\tDescription\tMaker\tVID:PID\tSerial\n";
    for (const FoundPort& port : ports) {
        // The device is left out of a line where it is the name itself.
        const std::string device = port.device == port.name ? std::string() : port.device;
        const std::vector<std::string> fields = {port.name,        tsv ? port.device : device,
                                                 port.description, port.manufacturer,
                                                 usbIds(port),     port.serialNumber};
        std::string line;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (tsv) {
                line += (i == 0 ? "" : "\t") + cell(fields[i]);
            } else if (!fields[i].empty()) {
                line += (line.empty() ? "" : "  ") + fields[i];
            }
        }
        out << line << '\n';
    }
}

int runPorts(bool tsv) {
    const auto ports = portsBeyondTheFixed(makeSystemPortLister()->list(), processEnvironment());
    printPorts(std::cout, ports, tsv);
    if (ports.empty()) {
        std::cerr << "tvprog: no serial ports found beyond com1 to com12 (plug in an adapter, "
                     "or name a device with --port)\n";
    }
    return kProgOk;
}

}  // namespace tv
