#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

#include "app/close_request.h"
#include "app/close_request_wake.h"

namespace tv {

namespace {

// The handler writes a byte, the watcher's notifier reads it on the UI thread.
int g_wake[2] = {-1, -1};

// Only async-signal-safe calls here. SA_RESETHAND: the next signal of the kind
// ends the program at once, should the close itself hang.
void onSignal(int) {
    const int savedErrno = errno;
    requestClose();
    errno = savedErrno;
}

}  // namespace

void catchCloseRequests() {
    // The socket first: a signal from now on finds it. Non-blocking, so that a
    // storm of signals never blocks the handler on a full socket.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_wake) != 0) {
        g_wake[0] = g_wake[1] = -1;  // requests still count, found when the window starts or closes
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

void wakeCloseRequestWatcher() {
    if (g_wake[1] < 0) return;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_wake[1], &byte, 1);
}

void CloseRequestWatcher::listen() {
    if (g_wake[0] < 0) return;
    auto* notifier = new QSocketNotifier(g_wake[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[64];
        while (::read(g_wake[0], bytes, sizeof bytes) > 0) {
        }
        act(false);
    });
}

void CloseRequestWatcher::stopListening() {}

}  // namespace tv
