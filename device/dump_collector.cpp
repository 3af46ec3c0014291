#include "device/dump_collector.h"

#include <algorithm>
#include <span>

#include "device/unit_memory.h"

namespace tv {

namespace {

bool imageCame(const DeviceLink& link, const ChannelImage& expected) {
    const auto count = std::clamp<int32_t>(link.BufferPos, 0, DeviceLink::kBufferSize);
    const std::span<const uint8_t> bytes(link.DeviceBuffer.data(), static_cast<size_t>(count));
    return std::search(bytes.begin(), bytes.end(), expected.begin(), expected.end()) != bytes.end();
}

}  // namespace

bool collectDumpReply(const DeviceLink& link, EventWaiter& waiter, const DumpCollection& collection,
                      const std::function<bool()>& lineLost) {
    using Clock = std::chrono::steady_clock;
    const bool untilQuiet = collection.quiet > Clock::duration::zero();
    int32_t seen = link.BufferPos;
    auto quietFrom = Clock::now();
    // A lost line brings nothing more: no use waiting out the time.
    while (!lineLost()) {
        if (collection.expected && imageCame(link, *collection.expected)) return true;
        if (link.BufferPos != seen) {
            seen = link.BufferPos;
            quietFrom = Clock::now();
        }
        const bool enough = untilQuiet && seen >= kDumpReplyBytes;
        const auto until = enough ? std::min(collection.deadline, quietFrom + collection.quiet)
                                  : collection.deadline;
        const auto outcome = waiter.waitForEvents(until);
        if (outcome == EventWaiter::Outcome::ShuttingDown) return false;
        if (outcome == EventWaiter::Outcome::TimedOut && link.BufferPos == seen) return true;
    }
    return true;
}

}  // namespace tv
