#pragma once
// A tvunit process serving a pseudo-terminal for one test.
#include <sys/types.h>

#include <string>
#include <vector>

#include "unit_log.h"

namespace tv::testing {

class UnitProcess {
public:
    // Starts tvunit with the given fault options and a byte log; waits for its
    // terminal's path.
    explicit UnitProcess(const std::vector<std::string>& options, const std::string& logPath);
    ~UnitProcess();
    UnitProcess(const UnitProcess&) = delete;
    UnitProcess& operator=(const UnitProcess&) = delete;

    const std::string& path() const { return m_path; }

    using LogEntry = UnitLogEntry;
    std::vector<LogEntry> log() const;

private:
    pid_t m_pid = -1;
    std::string m_path;
    std::string m_logPath;
};

}  // namespace tv::testing
