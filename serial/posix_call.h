#pragma once
// The two rules every POSIX call of the serial layer follows: an interrupted
// call is tried again (os/retry_on_eintr.h), and errno becomes a SerialError in
// one place, here.
#include "os/retry_on_eintr.h"
#include "serial/serial_os.h"

namespace tv {

// errno as the serial layer names it. A refused permission is told apart from
// other failures because its remedy (group membership) is the user's own.
SerialError errorFromErrno(int err);

}  // namespace tv
