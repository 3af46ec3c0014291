#pragma once
// A program or a piece of a test run as a child process (POSIX): started with
// its arguments and environment, its output captured, signalled, waited for
// with a deadline. Tests and benchmarks start every child through here.
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tv::test {

// How a child ended.
struct ChildEnd {
    int exitCode = -1;  // its exit status when it ended by itself, else -1
    int signal = 0;     // the signal that killed it, or 0
    bool exited() const { return exitCode >= 0; }
    bool ended() const { return exitCode >= 0 || signal != 0; }
};

class ChildProcess {
public:
    // Where the child's stdout or stderr goes.
    enum class Output {
        Inherit,  // this process's own
        Discard,  // /dev/null
        Capture,  // an in-memory file, read by output()/errors() once it ended;
                  // a long output cannot fill a pipe and stall the child
        Pipe,     // a pipe read by readLine() while it runs (stdout only)
    };
    struct Options {
        Output out = Output::Inherit;
        Output err = Output::Inherit;
        // "NAME=value" entries set in the child on top of this environment.
        std::vector<std::string> env;
    };

    // Starts `program` with `args` (argv[0] is `program`). started() says
    // whether it did.
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const Options& options);
    ChildProcess(const std::string& program, const std::vector<std::string>& args)
        : ChildProcess(program, args, Options{}) {}
    // A child still running is killed and reaped.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }
    bool running() const { return m_pid > 0 && !m_end; }

    // The next line of the piped stdout without its "\n"; what came before the
    // end of the output or the deadline when no full line comes.
    std::string readLine(std::chrono::milliseconds deadline = std::chrono::seconds(10));
    // Closes this side of the piped stdout; later writes of the child fail.
    void closePipe();

    // Sends `signal` to a running child; false when it has ended.
    bool sendSignal(int signal);
    // Waits until it ends; nothing when it still runs at the deadline.
    std::optional<ChildEnd> wait(std::chrono::milliseconds deadline);
    // Waits however long it takes; a child that never started "ended" with -1.
    ChildEnd wait();

    // The captured output, complete once the child has ended.
    std::string output() const;
    std::string errors() const;

private:
    pid_t m_pid = -1;
    std::optional<ChildEnd> m_end;
    int m_pipe = -1;
    int m_captureOut = -1;
    int m_captureErr = -1;
};

// A program's whole run: started, waited for, its output captured.
struct ChildRun {
    ChildEnd end;
    std::string out;
    std::string err;
};
ChildRun runToEnd(const std::string& program, const std::vector<std::string>& args,
                  std::vector<std::string> env = {});

// Forks; the child runs `body` and exits with its result. `body` must not use
// gtest assertions: it reports through its result.
ChildEnd runInChild(const std::function<int()>& body);

// The id of a child that has ended and been reaped: no process has it (until
// the system hands it out again).
pid_t endedProcessId();

}  // namespace tv::test
