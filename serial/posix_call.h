#pragma once
// The two rules every POSIX call of the serial layer follows: an interrupted
// call is tried again (os/retry_on_eintr.h), and errno becomes a SerialError in
// one place.
#include "os/retry_on_eintr.h"
#include "serial/serial_os.h"

namespace tv {

// errno, and what the serial layer calls it.
SerialError errorFromErrno(int err);

}  // namespace tv
