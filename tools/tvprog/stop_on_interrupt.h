#pragma once
// Ctrl+C or a termination request (SIGINT/SIGTERM on POSIX; Ctrl+C, Ctrl+Break
// and the console window closed on Windows) sets `stop`, which ends the
// command's wait; the port is then closed as after any command. On POSIX a
// write to a pipe or FIFO whose reader went away (a --log FIFO) then fails with
// EPIPE, said as any failed write, instead of ending tvprog without a word.
#include <atomic>

namespace tv {

// `stop` must outlive the program's run; call once, before the command starts.
void stopOnInterrupt(std::atomic<bool>& stop);

}  // namespace tv
