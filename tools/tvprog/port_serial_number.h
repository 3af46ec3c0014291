#pragma once
// The USB serial number of the adapter behind a port, for the production log.
#include <string>

namespace tv {

// Asks the system's port listing (the one `tvprog ports` prints) for the port
// that `port` opens; empty when it lists no such port or knows no number.
std::string portSerialNumber(const std::string& port);

}  // namespace tv
