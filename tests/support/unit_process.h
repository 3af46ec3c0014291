#pragma once
// A tvunit process serving a pseudo-terminal for one test, with its byte log.
#include <string>
#include <vector>

#include "tests/support/unit_launcher.h"
#include "tests/support/unit_log.h"

namespace tv::testing {

class UnitProcess {
public:
    // Starts tvunit with the given fault options and a byte log; waits for its
    // terminal's path and throws when none comes.
    explicit UnitProcess(const std::vector<std::string>& options, const std::string& logPath);

    const std::string& path() const { return m_unit.path(); }

    using LogEntry = UnitLogEntry;
    std::vector<LogEntry> log() const;

private:
    test::UnitLauncher m_unit;
    std::string m_logPath;
};

}  // namespace tv::testing
