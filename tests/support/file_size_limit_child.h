#pragma once
// Runs a piece of a test in a child process under a file-size limit, as a login
// limit or `prlimit --fsize` would set it, so that the limit and the signal
// setting never reach the test process itself.
#ifndef _WIN32  // Windows has no file-size limit to run under
#include <sys/resource.h>
#include <unistd.h>

#include <functional>

#include "os/file_size_limit.h"
#include "tests/support/child_process.h"

namespace tv::test {

// The child sets RLIMIT_FSIZE to `limit` bytes, ignores SIGXFSZ as the programs
// do (unless `ignoreSignal` is false), runs `body` and exits with its result
// (126 when it cannot set the limit). `body` must not use gtest assertions: it
// reports through its result.
inline ChildEnd runUnderFileSizeLimit(rlim_t limit, const std::function<int()>& body,
                                      bool ignoreSignal = true) {
    return runInChild([&] {
        rlimit small{};
        ::getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = limit;
        if (::setrlimit(RLIMIT_FSIZE, &small) != 0) return 126;
        if (ignoreSignal) ignoreFileSizeLimitSignal();
        return body();
    });
}

}  // namespace tv::test

#endif  // _WIN32
