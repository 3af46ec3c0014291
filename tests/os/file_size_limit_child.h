#pragma once
// Runs a piece of a test in a child process under a file-size limit, as a login
// limit or `prlimit --fsize` would set it, so that the limit and the signal
// setting never reach the test process itself.
#ifndef _WIN32  // Windows has no file-size limit to run under
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "os/file_size_limit.h"

namespace tv::test {

struct ChildEnd {
    int exitCode = -1;  // what `body` returned, when the child ended by itself
    int signal = 0;     // the signal that killed it, or 0
};

// Forks; the child sets RLIMIT_FSIZE to `limit` bytes, ignores SIGXFSZ as the
// programs do (unless `ignoreSignal` is false), runs `body` and exits with its
// result. `body` must not use gtest assertions: it reports through its result.
inline ChildEnd runUnderFileSizeLimit(rlim_t limit, const std::function<int()>& body,
                                      bool ignoreSignal = true) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        rlimit small{};
        ::getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = limit;
        if (::setrlimit(RLIMIT_FSIZE, &small) != 0) ::_exit(126);
        if (ignoreSignal) ignoreFileSizeLimitSignal();
        ::_exit(body());
    }
    ChildEnd end;
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return end;
    if (WIFEXITED(status)) end.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
    return end;
}

}  // namespace tv::test

#endif  // _WIN32
