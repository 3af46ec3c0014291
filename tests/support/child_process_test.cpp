// The child-process helper the process tests stand on: how a child ended, what
// it printed, the environment it got, deadlines and signals.
#include "tests/support/child_process.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>

namespace tv::test {
namespace {

TEST(ChildProcess, RunToEndReportsTheEndAndTheOutput) {
    struct Case {
        const char* script;
        std::vector<std::string> env;
        int exitCode;
        int signal;
        const char* out;
        const char* err;
    };
    const Case cases[] = {
        {"exit 3", {}, 3, 0, "", ""},
        {"kill -TERM $$", {}, -1, SIGTERM, "", ""},
        {"printf out; printf err >&2", {}, 0, 0, "out", "err"},
        {"printf %s \"$HOME\"", {"HOME=/elsewhere"}, 0, 0, "/elsewhere", ""},
        {"printf %s \"$TV_CHILD_NEW\"", {"TV_CHILD_NEW=a=b"}, 0, 0, "a=b", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const ChildRun run = runToEnd("/bin/sh", {"-c", c.script}, c.env);
        EXPECT_EQ(run.end.exitCode, c.exitCode);
        EXPECT_EQ(run.end.signal, c.signal);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
}

TEST(ChildProcess, ReadsLinesWhileItRunsAndStopsAtTheDeadline) {
    ChildProcess child("/bin/sh", {"-c", "echo first; printf 'second\\n'; exec sleep 10"},
                       {ChildProcess::Output::Pipe, ChildProcess::Output::Inherit, {}});
    ASSERT_TRUE(child.started());
    EXPECT_EQ(child.readLine(), "first");
    EXPECT_EQ(child.readLine(), "second");
    EXPECT_EQ(child.readLine(std::chrono::milliseconds(50)), "");
    EXPECT_FALSE(child.wait(std::chrono::milliseconds(50)).has_value());
    EXPECT_TRUE(child.sendSignal(SIGKILL));
    EXPECT_EQ(child.wait().signal, SIGKILL);
    EXPECT_FALSE(child.sendSignal(SIGKILL));  // ended: no other process gets it
}

TEST(ChildProcess, ForkedBodiesReportThroughTheirResult) {
    EXPECT_EQ(runInChild([] { return 7; }).exitCode, 7);
    const pid_t ended = endedProcessId();
    ASSERT_GT(ended, 0);
    EXPECT_NE(::kill(ended, 0), 0);
    EXPECT_EQ(errno, ESRCH);
}

TEST(ChildProcess, AProgramThatCannotStartHasNoEnd) {
    ChildProcess missing("/nonexistent/program", {});
    EXPECT_FALSE(missing.started());
    EXPECT_FALSE(missing.wait().ended());
}

}  // namespace
}  // namespace tv::test
