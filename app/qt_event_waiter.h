#pragma once
// How a device command waits for the unit's reply on the UI thread: it handles
// the pending events (the receive handler among them), sleeping in the event
// loop while there are none, until the deadline or a shutdown request.
#include "device/device_link.h"

namespace tv {

class QtEventWaiter : public EventWaiter {
public:
    Outcome waitForEvents(std::chrono::steady_clock::time_point deadline) override;

    // Asked when the window closes during a command: the wait ends at once.
    void requestShutdown();
    // The close did not happen after all (the settings could not be saved):
    // later commands wait normally again.
    void cancelShutdown() { m_shutdown = false; }

private:
    bool m_shutdown = false;
};

}  // namespace tv
