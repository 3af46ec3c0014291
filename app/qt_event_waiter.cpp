#include "app/qt_event_waiter.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

namespace tv {

EventWaiter::Outcome QtEventWaiter::waitForEvents(std::chrono::steady_clock::time_point deadline) {
    using namespace std::chrono;
    if (m_shutdown) return Outcome::ShuttingDown;
    const auto remaining = duration_cast<milliseconds>(deadline - steady_clock::now());
    if (remaining.count() <= 0) return Outcome::TimedOut;

    // The timer is only there to wake the blocking wait at the deadline.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(static_cast<int>(remaining.count()) + 1);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

    if (m_shutdown) return Outcome::ShuttingDown;
    if (steady_clock::now() >= deadline) return Outcome::TimedOut;
    return Outcome::Handled;
}

void QtEventWaiter::requestShutdown() {
    m_shutdown = true;
    // Wake a wait that is sleeping in the event loop.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
}

}  // namespace tv
