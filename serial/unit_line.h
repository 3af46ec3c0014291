#pragma once
// The fixed line settings every program of this project drives a Tarvex unit
// with: 9600 bit/s, 8 data bits, one stop bit, no parity, no flow control.
#include "serial/rs232c.h"

namespace tv {

// Sets every property of `port` that the line settings cover; the port name and
// the event bindings are left to the caller. The bit rate is 9600 here and may be
// replaced before open.
void applyUnitLineSettings(Trs232c& port);

}  // namespace tv
