#include "device/dump_collector.h"

#include <algorithm>
#include <span>

#include "device/unit_memory.h"

namespace tv {

bool collectDumpReply(const DeviceLink& link, EventWaiter& waiter, const ChannelImage& expected,
                      std::chrono::steady_clock::duration limit,
                      const std::function<bool()>& lineLost) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + limit;
    int32_t seen = link.BufferPos;
    auto quietFrom = Clock::now();
    while (!lineLost()) {
        const auto count = std::clamp<int32_t>(link.BufferPos, 0, DeviceLink::kBufferSize);
        const std::span<const uint8_t> bytes(link.DeviceBuffer.data(), static_cast<size_t>(count));
        if (std::search(bytes.begin(), bytes.end(), expected.begin(), expected.end()) !=
            bytes.end()) {
            return true;
        }
        if (link.BufferPos != seen) {
            seen = link.BufferPos;
            quietFrom = Clock::now();
        }
        const bool enough = seen >= static_cast<int32_t>(kDumpReplyBytes);
        const auto until = enough ? std::min(deadline, quietFrom + kDumpQuiet) : deadline;
        const auto outcome = waiter.waitForEvents(until);
        if (outcome == EventWaiter::Outcome::ShuttingDown) return false;
        if (outcome == EventWaiter::Outcome::TimedOut && link.BufferPos == seen) return true;
    }
    return true;
}

}  // namespace tv
