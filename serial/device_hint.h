#pragma once
// Where an operator finds the name of the unit's serial device on this system,
// for the reason a port did not open.

namespace tv {

// A phrase that follows "for example", such as "its link under /dev/serial/by-id".
const char* unitDeviceHint();

}  // namespace tv
