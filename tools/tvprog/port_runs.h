#pragma once
// write, verify and init on every --port at once, a thread per port, with the
// header read once, the ports' lines shown and the log written.
#include <atomic>

#include "tools/tvprog/prog_command_line.h"

namespace tv {

// The exit status: the worst of the ports' (worstStatus), or of the log's.
int runOnPorts(const ProgLine& line, const std::atomic<bool>& stopRequested);

}  // namespace tv
