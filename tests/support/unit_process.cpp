#include "tests/support/unit_process.h"

#include <stdexcept>

namespace tv::testing {

namespace {

std::vector<std::string> withLog(const std::vector<std::string>& options,
                                 const std::string& logPath) {
    std::vector<std::string> args{"--log", logPath};
    args.insert(args.end(), options.begin(), options.end());
    return args;
}

}  // namespace

UnitProcess::UnitProcess(const std::vector<std::string>& options, const std::string& logPath)
    : m_unit(withLog(options, logPath)), m_logPath(logPath) {
    if (m_unit.path().empty()) throw std::runtime_error("tvunit printed no terminal path");
}

std::vector<UnitProcess::LogEntry> UnitProcess::log() const { return readUnitLog(m_logPath); }

}  // namespace tv::testing
