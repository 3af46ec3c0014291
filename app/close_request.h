#pragma once
// A request from outside to end the program: Ctrl+C or SIGTERM (on Windows:
// Ctrl+C and the console's other events, WM_CLOSE posted by another program as
// taskkill posts it), or the end of the session. It holds from the first moment
// of the process on, whatever the program is doing then, the start-up "Error" box
// included: the program saves the settings if it can and ends, and the window is
// never shown after one. A second signal ends the program at once.
#include <QObject>
#include <QPointer>

class QWidget;

namespace tv {

// First thing in main: from now on the signals (console events) are requests.
void catchCloseRequests();

// Whether a close has been requested.
bool closeRequested();
// Makes a request; async-signal-safe and callable from any thread.
void requestClose();
// Forgets a request: for tests that run many windows in one process.
void forgetCloseRequest();

// Acts on requests on the UI thread: a message box standing at that moment is
// dismissed, and the window watched is closed. Made right after the application
// object, so that it is there before the window's start-up shows its first box.
class CloseRequestWatcher : public QObject {
public:
    CloseRequestWatcher();
    ~CloseRequestWatcher() override;
    CloseRequestWatcher(const CloseRequestWatcher&) = delete;
    CloseRequestWatcher& operator=(const CloseRequestWatcher&) = delete;

    // From now on a request closes `window` too.
    void watch(QWidget* window);

    // Dismisses the boxes, then closes the window: at once when the end is near
    // (the session ends as soon as we answer), else from the event loop, after the
    // handler that showed a box has run to its end.
    void act(bool atOnce);

    // The watcher of this process, if one is made (read from other threads).
    static CloseRequestWatcher* current();

private:
    // The platform's way in: a socket a signal handler writes to, or a filter of
    // window messages.
    void listen();
    void stopListening();

    QPointer<QWidget> m_window;
};

}  // namespace tv
