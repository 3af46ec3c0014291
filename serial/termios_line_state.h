#pragma once
// The line settings as a terminal's attributes hold them, both ways. Nothing
// here touches a device, so every mapping is tested without one.
#include <termios.h>

#include <cstdint>

#include "serial/serial_os.h"

namespace tv {

// What a DTR or RTS mode of the flag word does with its line. Toggle is an RTS
// mode only.
enum class LineControl : uint8_t { Disable = 0, Enable = 1, Handshake = 2, Toggle = 3 };

LineControl dtrControl(uint32_t flags);
LineControl rtsControl(uint32_t flags);

// The settings `tio` holds. What termios has no place for (the DTR and RTS
// modes and the other flag-word bits, the queue limits, the error, end and
// event characters) is taken from `kept`. A speed outside the table reads as 0.
LineState lineStateFromTermios(const termios& tio, const LineState& kept = LineState{});

// Writes `state` into `tio`: speed, data bits, stop bits, parity, flow control
// and the XON and XOFF characters. False, with `tio` left as it was, for a
// setting the line cannot carry: a speed termios has no code for, data bits
// outside 5 to 8, stop bits that do not go with the data bits, a parity
// outside the enum.
bool applyLineState(termios& tio, const LineState& state);

// Raw bytes both ways (no line editing, echo, signals or output processing),
// one byte at a time, modem status ignored, while the speed, data bits, stop
// bits, parity and flow control stay as `tio` had them.
void makeRawKeepingLine(termios& tio);

}  // namespace tv
