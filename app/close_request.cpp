#include "app/close_request.h"

#include <QApplication>
#include <QDialog>
#include <QSessionManager>
#include <QTimer>
#include <QWidget>
#include <atomic>

#include "app/close_request_wake.h"

namespace tv {

namespace {

// Lock-free, so that a signal handler may set it.
std::atomic<bool> g_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

std::atomic<CloseRequestWatcher*> g_watcher{nullptr};

// A box's own event loop would keep the program where it is: each box standing
// is answered as by its Esc key, the innermost first.
void dismissBoxes() {
    for (int i = 0; i < 16; ++i) {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        box->reject();
    }
}

}  // namespace

bool closeRequested() { return g_requested.load(); }

void requestClose() {
    g_requested.store(true);
    wakeCloseRequestWatcher();
}

void forgetCloseRequest() { g_requested.store(false); }

CloseRequestWatcher::CloseRequestWatcher() {
    g_watcher.store(this);
    listen();
#ifndef QT_NO_SESSIONMANAGER
    // The session ends (log-off, shutdown; on Windows WM_QUERYENDSESSION): the
    // process may be ended as soon as this returns, so the close happens now.
    connect(
        qApp, &QGuiApplication::commitDataRequest, this,
        [this](QSessionManager&) {
            g_requested.store(true);
            act(true);
        },
        Qt::DirectConnection);
#endif
    // A request made before there was anyone to act on it.
    if (closeRequested()) QTimer::singleShot(0, this, [this] { act(false); });
}

CloseRequestWatcher::~CloseRequestWatcher() {
    g_watcher.store(nullptr);
    stopListening();
}

CloseRequestWatcher* CloseRequestWatcher::current() { return g_watcher.load(); }

void CloseRequestWatcher::watch(QWidget* window) { m_window = window; }

void CloseRequestWatcher::act(bool atOnce) {
    dismissBoxes();
    if (m_window.isNull() || !m_window->isVisible()) return;
    if (atOnce) {
        m_window->close();
        return;
    }
    QTimer::singleShot(0, m_window, [window = m_window] {
        if (window && window->isVisible()) window->close();
    });
}

}  // namespace tv
