#include "serial/modem_watch.h"

#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <mutex>

#include "serial/posix_call.h"
#include "serial/serial_os.h"

namespace tv {

namespace {

// TIOCMIWAIT sleeps until a line changes; only a signal ends it early. This
// signal, with a handler that does nothing and no SA_RESTART, makes the ioctl
// return EINTR so the watch can be stopped.
int wakeSignal() { return SIGRTMIN + 5; }

void ignoreWake(int) {}

void installWakeHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_handler = ignoreWake;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        sigaction(wakeSignal(), &action, nullptr);
    });
}

struct LineBit {
    int tiocm;
    uint32_t event;
};
constexpr LineBit kLines[] = {
    {TIOCM_CTS, EV_CTS}, {TIOCM_DSR, EV_DSR}, {TIOCM_RNG, EV_RING}, {TIOCM_CAR, EV_RLSD}};

}  // namespace

ModemWatch::ModemWatch(int portFd, int notifyFd, uint32_t eventBits)
    : m_portFd(portFd), m_notifyFd(notifyFd), m_eventBits(eventBits) {
    installWakeHandler();
    m_thread = std::thread([this] { run(); });
}

ModemWatch::~ModemWatch() {
    m_stop.store(true);
    // The signal can arrive just before the thread enters the ioctl, so keep
    // sending it until the thread has noticed the stop.
    while (!m_finished.load()) {
        pthread_kill(m_thread.native_handle(), wakeSignal());
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    m_thread.join();
}

void ModemWatch::run() {
    int watched = 0;
    for (const LineBit& line : kLines) {
        if (m_eventBits & line.event) watched |= line.tiocm;
    }
    int before = 0;
    // TIOCMGET fails on devices without modem lines: nothing to watch then.
    bool ok = ::ioctl(m_portFd, TIOCMGET, &before) == 0;
    while (ok && !m_stop.load()) {
        // EINTR here is the stop signal (or another signal): look at m_stop first.
        if (::ioctl(m_portFd, TIOCMIWAIT, watched) != 0) {
            ok = errno == EINTR;
            continue;
        }
        int after = 0;
        if (::ioctl(m_portFd, TIOCMGET, &after) != 0) break;
        uint32_t changed = 0;
        for (const LineBit& line : kLines) {
            if ((before ^ after) & line.tiocm) changed |= line.event;
        }
        before = after;
        // RING is reported by its trailing edge, as the line falls.
        if ((changed & EV_RING) && (after & TIOCM_RNG)) changed &= ~EV_RING;
        changed &= m_eventBits;
        if (changed != 0) {
            m_pending.fetch_or(changed);
            const uint64_t one = 1;
            retryOnEintr([&] { return ::write(m_notifyFd, &one, sizeof one); });
        }
    }
    m_finished.store(true);
}

}  // namespace tv
