#pragma once
// The USB serial number of the adapter behind a port, for the production log.
#include <string>

namespace tv {

// Empty when unknown. For now it is always empty: the listing of the system's
// ports, which knows each adapter's serial number, lives with the window's
// port page; this is where tvprog asks it once both meet.
std::string portSerialNumber(const std::string& port);

}  // namespace tv
