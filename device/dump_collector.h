#pragma once
// The rest of a Dump's reply, collected for the window's Read unit and for
// tvprog's dump and read: nothing marks the end of a dump, so the collection
// ends when the expected image shows, or once a whole reply's worth has come and
// the line has been quiet for a while, or at the deadline.
#include <chrono>
#include <functional>

#include "device/channel_image.h"
#include "device/device_link.h"

namespace tv {

// A reply that has had a memory's worth and then nothing for this long has all
// the unit will send (a byte takes about a millisecond at 9600 bit/s).
inline constexpr std::chrono::milliseconds kDumpQuiet{250};

struct DumpCollection {
    std::chrono::steady_clock::time_point deadline;
    // Once the replies and a memory's worth have come, the line quiet this long
    // ends the collection; zero collects until the deadline.
    std::chrono::steady_clock::duration quiet = kDumpQuiet;
    // When set, the collection ends as soon as this image shows.
    const ChannelImage* expected = nullptr;
};

// Handles events through `waiter` after `link`'s Dump has been answered, until
// one of the ends above or `lineLost` says the line went away. False when the
// program is shutting down and the caller must stop.
bool collectDumpReply(const DeviceLink& link, EventWaiter& waiter, const DumpCollection& collection,
                      const std::function<bool()>& lineLost);

}  // namespace tv
