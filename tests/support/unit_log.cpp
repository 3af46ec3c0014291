#include "tests/support/unit_log.h"

#include <fstream>
#include <sstream>

namespace tv::testing {

std::vector<UnitLogEntry> readUnitLog(const std::string& path) {
    std::vector<UnitLogEntry> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        UnitLogEntry e{};
        std::string dir, hex;
        if (!(fields >> e.ns >> dir >> hex)) continue;
        e.received = dir == "RX";
        e.byte = std::stoi(hex, nullptr, 16);
        entries.push_back(e);
    }
    return entries;
}

std::vector<int> receivedBytes(const std::vector<UnitLogEntry>& log) {
    std::vector<int> bytes;
    for (const UnitLogEntry& e : log)
        if (e.received) bytes.push_back(e.byte);
    return bytes;
}

}  // namespace tv::testing
