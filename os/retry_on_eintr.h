#pragma once
// The rule every blocking POSIX call follows here: an interrupted call is tried again.
#include <cerrno>

namespace tv {

// Calls `call` again while it fails with EINTR; returns its last result.
// `call` must recompute anything time-dependent (poll's time-out) itself.
// Never use this for close(): on Linux the descriptor is released even when
// close reports EINTR, and a retry could close a descriptor that another
// thread has just been given.
template <typename Call>
auto retryOnEintr(Call&& call) {
    for (;;) {
        auto result = call();
        if (result != -1 || errno != EINTR) return result;
    }
}

}  // namespace tv
