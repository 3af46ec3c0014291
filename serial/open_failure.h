#pragma once
// Why a port did not open, in words an operator can act on. Shared by the
// window (one status line) and the command-line tools.
#include <string>

#include "serial/serial_os.h"

namespace tv {

// Who reads the reason, which decides how its next step is put: the window's
// "Open" button, or running the command again.
enum class OpenRetry { OpenButton, RunAgain };

// One line: the port, the device it stands for and the reason, with what to do
// next, e.g. `Port "com1" (/dev/ttyS0) did not open: permission denied. ...`.
std::string openFailureReason(const std::string& portname, const SerialError& error,
                              OpenRetry retry = OpenRetry::OpenButton);

}  // namespace tv
