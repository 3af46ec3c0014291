#include "unit_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

namespace tv::testing {

UnitProcess::UnitProcess(const std::vector<std::string>& options, const std::string& logPath)
    : m_logPath(logPath) {
    std::vector<std::string> args{TVUNIT_PATH, "--log", logPath};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2];
    if (::pipe(out) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const int rc = posix_spawn(&m_pid, TVUNIT_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) throw std::runtime_error("cannot start tvunit");

    // The first line is the terminal's path.
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') m_path += c;
    ::close(out[0]);
    if (m_path.empty()) throw std::runtime_error("tvunit printed no terminal path");
}

UnitProcess::~UnitProcess() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
}

std::vector<UnitProcess::LogEntry> UnitProcess::log() const { return readUnitLog(m_logPath); }

}  // namespace tv::testing
