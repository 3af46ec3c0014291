#pragma once
// tvprog read: the unit's memory as a header in the export's form.
#include <atomic>

#include "tools/tvprog/prog_command_line.h"

namespace tv {

// D CR, the memory collected as the read-back collects it, its channels written
// as "save" writes a header (to line.header, whole or not at all, or to
// standard output); the exit status.
int runRead(const ProgLine& line, const std::atomic<bool>& stopRequested);

}  // namespace tv
