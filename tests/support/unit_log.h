#pragma once
// tvunit's byte log (--log): one line per byte, "<ns> RX|TX <hex>".
#include <string>
#include <vector>

namespace tv::testing {

struct UnitLogEntry {
    long long ns;
    bool received;  // RX: the unit received it from us
    int byte;
};

// The entries of the log at that path; none when it cannot be read.
std::vector<UnitLogEntry> readUnitLog(const std::string& path);

// The bytes the unit received, in order.
std::vector<int> receivedBytes(const std::vector<UnitLogEntry>& log);

}  // namespace tv::testing
