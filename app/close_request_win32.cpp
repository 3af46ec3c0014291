#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QMetaObject>
#include <atomic>

#include "app/close_request.h"
#include "app/close_request_wake.h"

namespace tv {

namespace {

std::atomic<int> g_consoleEvents{0};

// Runs on a thread of its own that the system starts for each console event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    if (g_consoleEvents.fetch_add(1) > 0) {
        return FALSE;  // a second Ctrl+C: the default handler ends the program at once
    }
    requestClose();
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // The system ends the process as soon as this handler returns (and a few
        // seconds after the event at the latest): wait here for the close to save
        // the settings and leave the event loop, which ends the process.
        ::Sleep(4500);
    }
    return TRUE;
}

// WM_CLOSE posted to any window of ours is another program asking us to end, as
// taskkill (without /F) asks every top-level window of the process, hidden ones
// and a message box included. The title bar's close and Alt+F4 send WM_CLOSE
// instead of posting it, so they stay the operator's own close. Qt's event
// dispatcher shows the filters every message it takes from the queue, with no
// result to fill in; the window procedure shows them the messages sent too, with
// a result. The posted message itself is dropped: Windows would destroy a hidden
// window on it, and a box would take it for its Esc key and let the start-up run.
class PostedCloseFilter : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override {
        const bool fromTheQueue = result == nullptr || eventType == "windows_dispatcher_MSG";
        if (!fromTheQueue || static_cast<const MSG*>(message)->message != WM_CLOSE) return false;
        requestClose();
        return true;
    }
};

PostedCloseFilter g_filter;

}  // namespace

void catchCloseRequests() { ::SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

void wakeCloseRequestWatcher() {
    // From the console's thread or the UI thread alike: queued to the UI thread.
    if (CloseRequestWatcher* watcher = CloseRequestWatcher::current()) {
        QMetaObject::invokeMethod(
            watcher, [watcher] { watcher->act(false); }, Qt::QueuedConnection);
    }
}

void CloseRequestWatcher::listen() {
    QCoreApplication::instance()->installNativeEventFilter(&g_filter);
}

void CloseRequestWatcher::stopListening() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(&g_filter);
}

}  // namespace tv
