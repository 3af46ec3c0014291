#pragma once
// The rest of a Dump's reply, collected as tvprog's read-back collects it:
// nothing marks the end of a dump, so the collection ends when the expected
// image shows, or once a whole reply's worth has come and the line has been
// quiet for a while, or at the time limit.
#include <chrono>
#include <functional>

#include "device/channel_image.h"
#include "device/device_link.h"

namespace tv {

// A reply that has had a memory's worth and then nothing for this long has all
// the unit will send (a byte takes about a millisecond at 9600 bit/s).
inline constexpr std::chrono::milliseconds kDumpQuiet{250};

// Handles events through `waiter` after `link`'s Dump has been answered, until
// one of the ends above or `lineLost` says the line went away. False when the
// program is shutting down and the caller must stop.
bool collectDumpReply(const DeviceLink& link, EventWaiter& waiter, const ChannelImage& expected,
                      std::chrono::steady_clock::duration limit,
                      const std::function<bool()>& lineLost);

}  // namespace tv
