#include <windows.h>

#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <atomic>

#include "app/quit_on_signal.h"

namespace tv {

namespace {

QPointer<QWidget> g_window;
std::atomic<bool> g_closing{false};

// Runs on a thread of its own that the system starts for each console event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    if (g_closing.exchange(true)) {
        return FALSE;  // a second Ctrl+C: the default handler ends the program at once
    }
    // Queued: the window is closed from the event loop, as on the close button.
    QMetaObject::invokeMethod(g_window.data(), "close", Qt::QueuedConnection);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // The system ends the process as soon as this handler returns (and a few
        // seconds after the event at the latest): wait here for the close to save
        // the settings and leave the event loop, which ends the process.
        ::Sleep(4500);
    }
    return TRUE;
}

}  // namespace

void closeOnTerminationSignals(QWidget* window) {
    g_window = window;
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

}  // namespace tv
