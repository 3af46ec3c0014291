#pragma once
// How long the unit's replies took during a Write, and the hint a slow line gets.
// A USB serial adapter holds each received byte for its latency timer (16 ms by
// default) before passing it on, so the 130 handshakes of a Write take seconds
// instead of about 0.3 s at 9600 bit/s.
#include <chrono>
#include <optional>
#include <string>

namespace tv {

// Above this average a reply waited in an adapter rather than on the line.
inline constexpr std::chrono::milliseconds kSlowReply{8};

// The status line for `replies` replies that took `total` together: the time
// one took and how to set the adapter's latency timer to 1 ms. nullopt when the
// average is kSlowReply or less (or there were no replies).
std::optional<std::string> slowReplyHint(std::chrono::steady_clock::duration total, int replies);

}  // namespace tv
