#include "tools/tvprog/port_serial_number.h"

namespace tv {

std::string portSerialNumber(const std::string&) { return {}; }

}  // namespace tv
