#include <signal.h>

#include "tools/tvprog/stop_on_interrupt.h"

namespace tv {

namespace {

std::atomic<bool>* g_stop = nullptr;

void requestStop(int) { g_stop->store(true); }

}  // namespace

void stopOnInterrupt(std::atomic<bool>& stop) {
    g_stop = &stop;
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // SIGPIPE would end tvprog silently after the unit was written, the record
    // missing and nothing said; ignored, the write reports EPIPE instead.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

}  // namespace tv
