#pragma once
// A Win32 error code as the serial layer's SerialError.
#include <cstdint>

#include "serial/serial_os.h"

namespace tv {

// Where the error was seen: opening a device and using an open one tell
// ERROR_ACCESS_DENIED apart (held by another program, or removed under us).
enum class Win32Stage { Open, InUse };

SerialError errorFromWin32(uint32_t code, Win32Stage stage);

}  // namespace tv
