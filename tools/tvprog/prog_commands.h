#pragma once
// tvprog's four commands; each returns the exit status (prog_command_line.h).
#include <atomic>

#include "tools/tvprog/prog_command_line.h"

namespace tv {

int runWrite(const ProgLine& line, const std::atomic<bool>& stopRequested);
int runVerify(const ProgLine& line, const std::atomic<bool>& stopRequested);
int runDump(const ProgLine& line, const std::atomic<bool>& stopRequested);
int runInit(const ProgLine& line, const std::atomic<bool>& stopRequested);

}  // namespace tv
