#include "tests/support/unit_launcher.h"

#include <signal.h>

namespace tv::test {

UnitLauncher::UnitLauncher(const std::vector<std::string>& options)
    : m_process(TVUNIT_PATH, options,
                {ChildProcess::Output::Pipe, ChildProcess::Output::Inherit, {}}) {
    m_path = m_process.readLine();
    m_process.closePipe();
}

int UnitLauncher::stop() {
    if (!m_process.sendSignal(SIGTERM)) return -1;
    return waitExit();
}

int UnitLauncher::waitExit(std::chrono::milliseconds deadline) {
    const std::optional<ChildEnd> end = m_process.wait(deadline);
    return end && end->exited() ? end->exitCode : -1;
}

}  // namespace tv::test
