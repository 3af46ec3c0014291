#pragma once
// tvunit, the simulated unit, as a child process (POSIX): started with its
// options, its pseudo-terminal's path read from the first line it prints,
// stopped with SIGTERM as a terminal stops it.
#include <chrono>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

namespace tv::test {

class UnitLauncher {
public:
    // Starts tvunit with `options` and waits for its terminal's path; path()
    // stays empty when it printed none (a usage error, for one).
    explicit UnitLauncher(const std::vector<std::string>& options);

    const std::string& path() const { return m_path; }
    // Sends SIGTERM and returns the exit status, or -1.
    int stop();
    // Waits for it to end by itself; the exit status, or -1 (killed by a
    // signal, or still running at the deadline).
    int waitExit(std::chrono::milliseconds deadline = std::chrono::seconds(10));

private:
    ChildProcess m_process;
    std::string m_path;
};

}  // namespace tv::test
