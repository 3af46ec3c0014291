#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "tests/support/child_process.h"

extern char** environ;

namespace tv::test {

namespace {

using Clock = std::chrono::steady_clock;

ChildEnd endOf(int status) {
    ChildEnd end;
    if (WIFEXITED(status)) end.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
    return end;
}

std::string nameOf(const std::string& entry) { return entry.substr(0, entry.find('=')); }

// This process's environment with `overrides` replacing or adding entries.
std::vector<std::string> environmentWith(const std::vector<std::string>& overrides) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry(*e);
        bool replaced = false;
        for (const std::string& o : overrides) replaced = replaced || nameOf(o) == nameOf(entry);
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), overrides.begin(), overrides.end());
    return env;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& t : texts) pointers.push_back(t.data());
    pointers.push_back(nullptr);
    return pointers;
}

std::string readFrom(int fd) {
    std::string text;
    if (fd < 0) return text;
    char buffer[4096];
    off_t at = 0;
    for (ssize_t n; (n = ::pread(fd, buffer, sizeof buffer, at)) > 0; at += n) {
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const Options& options) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int pipeWrite = -1;
    const auto route = [&](Output output, int target, int& capture, const char* name) {
        switch (output) {
            case Output::Inherit:
                break;
            case Output::Discard:
                posix_spawn_file_actions_addopen(&actions, target, "/dev/null", O_WRONLY, 0);
                break;
            case Output::Capture:
                capture = ::memfd_create(name, MFD_CLOEXEC);
                if (capture >= 0) posix_spawn_file_actions_adddup2(&actions, capture, target);
                break;
            case Output::Pipe: {
                int ends[2];
                if (target != STDOUT_FILENO || ::pipe2(ends, O_CLOEXEC) != 0) break;
                m_pipe = ends[0];
                pipeWrite = ends[1];
                posix_spawn_file_actions_adddup2(&actions, pipeWrite, target);
                break;
            }
        }
    };
    route(options.out, STDOUT_FILENO, m_captureOut, "child-stdout");
    route(options.err, STDERR_FILENO, m_captureErr, "child-stderr");

    std::vector<std::string> argvText{program};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<std::string> envText = environmentWith(options.env);
    std::vector<char*> argv = pointersTo(argvText);
    std::vector<char*> envp = pointersTo(envText);
    if (::posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    closeFd(pipeWrite);  // the child holds the only writing end now
}

ChildProcess::~ChildProcess() {
    if (running()) {
        // SIGTERM first, so that a program can remove what it made (tvunit its link).
        sendSignal(SIGTERM);
        if (!wait(std::chrono::seconds(5))) {
            sendSignal(SIGKILL);
            wait();
        }
    }
    closeFd(m_pipe);
    closeFd(m_captureOut);
    closeFd(m_captureErr);
}

std::string ChildProcess::readLine(std::chrono::milliseconds deadline) {
    std::string line;
    const auto until = Clock::now() + deadline;
    while (m_pipe >= 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
        pollfd p{m_pipe, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) == 0) break;
        char c = 0;
        const ssize_t n = ::read(m_pipe, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n != 1 || c == '\n') break;
        line += c;
    }
    return line;
}

void ChildProcess::closePipe() { closeFd(m_pipe); }

bool ChildProcess::sendSignal(int signal) { return running() && ::kill(m_pid, signal) == 0; }

std::optional<ChildEnd> ChildProcess::wait(std::chrono::milliseconds deadline) {
    if (m_pid <= 0) return ChildEnd{};
    const auto until = Clock::now() + deadline;
    while (!m_end) {
        int status = 0;
        const pid_t got = ::waitpid(m_pid, &status, WNOHANG);
        if (got == m_pid) {
            m_end = endOf(status);
        } else if (got < 0 && errno != EINTR) {
            m_end = ChildEnd{};  // not our child to wait for: no end to report
        } else if (Clock::now() >= until) {
            return std::nullopt;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return m_end;
}

ChildEnd ChildProcess::wait() {
    if (m_pid <= 0) return ChildEnd{};
    while (!m_end) {
        int status = 0;
        const pid_t got = ::waitpid(m_pid, &status, 0);
        if (got == m_pid) m_end = endOf(status);
        if (got < 0 && errno != EINTR) m_end = ChildEnd{};
    }
    return *m_end;
}

std::string ChildProcess::output() const { return readFrom(m_captureOut); }

std::string ChildProcess::errors() const { return readFrom(m_captureErr); }

ChildRun runToEnd(const std::string& program, const std::vector<std::string>& args,
                  std::vector<std::string> env) {
    ChildProcess child(
        program, args,
        {ChildProcess::Output::Capture, ChildProcess::Output::Capture, std::move(env)});
    ChildRun run;
    run.end = child.wait();
    run.out = child.output();
    run.err = child.errors();
    return run;
}

ChildEnd runInChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    if (pid < 0) return ChildEnd{};
    while (::waitpid(pid, &status, 0) != pid) {
        if (errno != EINTR) return ChildEnd{};
    }
    return endOf(status);
}

pid_t endedProcessId() {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    if (pid > 0) ::waitpid(pid, nullptr, 0);
    return pid;
}

}  // namespace tv::test
