// The retry rule for interrupted system calls.
#include "os/retry_on_eintr.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

namespace tv {
namespace {

TEST(RetryOnEintr, RetriesOnlyInterruptedCalls) {
    struct Case {
        std::vector<int> failures;  // errno of each failing attempt before success
        int wantResult;
        int wantAttempts;
    };
    const Case cases[] = {
        {{}, 7, 1},     {{EINTR}, 7, 2},          {{EINTR, EINTR, EINTR}, 7, 4},
        {{EIO}, -1, 1}, {{EINTR, EAGAIN}, -1, 2},
    };
    for (const Case& c : cases) {
        int attempts = 0;
        const int result = retryOnEintr([&] {
            if (attempts < static_cast<int>(c.failures.size())) {
                errno = c.failures[static_cast<size_t>(attempts++)];
                return -1;
            }
            ++attempts;
            return 7;
        });
        EXPECT_EQ(result, c.wantResult);
        EXPECT_EQ(attempts, c.wantAttempts);
    }
}

}  // namespace
}  // namespace tv
