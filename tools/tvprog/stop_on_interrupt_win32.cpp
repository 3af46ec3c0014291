#include <windows.h>

#include "tools/tvprog/stop_on_interrupt.h"

namespace tv {

namespace {

std::atomic<bool>* g_stop = nullptr;

// Runs on a thread the system starts for each console event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    g_stop->store(true);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // The process ends when this handler returns: give the command a moment
        // to close the port first.
        ::Sleep(2000);
    }
    return TRUE;
}

}  // namespace

void stopOnInterrupt(std::atomic<bool>& stop) {
    g_stop = &stop;
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

}  // namespace tv
