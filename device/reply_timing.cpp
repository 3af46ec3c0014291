#include "device/reply_timing.h"

#include "ports/platform_port.h"

namespace tv {

namespace {

// "16.4": one decimal, whatever the locale says about separators.
std::string millisecondsText(double ms) {
    const long tenths = static_cast<long>(ms * 10 + 0.5);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

}  // namespace

std::optional<std::string> slowReplyHint(std::chrono::steady_clock::duration total, int replies) {
    if (replies <= 0 || total <= kSlowReply * replies) return std::nullopt;
    const double each = std::chrono::duration<double, std::milli>(total).count() / replies;
    return "Each reply took " + millisecondsText(each) +
           " ms (about 2 ms is usual): a USB serial adapter holds replies for its latency timer;"
           " " +
           latencyTimerAdvice();
}

}  // namespace tv
