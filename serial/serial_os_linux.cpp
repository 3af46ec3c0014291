#include "serial/serial_os_linux.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "os/file_kind_posix.h"
#include "serial/modem_watch.h"
#include "serial/posix_call.h"
#include "serial/termios_line_state.h"

namespace tv {

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until `deadline`, for poll: -1 waits without limit.
int msLeft(bool bounded, Clock::time_point deadline) {
    if (!bounded) return -1;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<int64_t>(0, left.count()));
}

// Reads what the wait has left on an eventfd, so it stops being readable.
void drainEventFd(int fd) {
    uint64_t value = 0;
    retryOnEintr([&] { return ::read(fd, &value, sizeof value); });
}

void signalEventFd(int fd) {
    const uint64_t one = 1;
    retryOnEintr([&] { return ::write(fd, &one, sizeof one); });
}

constexpr uint32_t kModemEvents = EV_CTS | EV_DSR | EV_RING | EV_RLSD;

}  // namespace

std::unique_ptr<SerialOs> makePlatformSerialOs() { return std::make_unique<LinuxSerialOs>(); }

LinuxSerialOs::LinuxSerialOs(EnvLookup env) : m_env(std::move(env)) {}

LinuxSerialOs::~LinuxSerialOs() {
    if (m_fd >= 0) closePort();
}

bool LinuxSerialOs::fail(int err) {
    m_lastError = errorFromErrno(err);
    m_lastError.device = m_device;
    return false;
}

int32_t LinuxSerialOs::failTransfer(int err) {
    if (errorFromErrno(err).kind == SerialError::Kind::HungUp) markHungUp();
    fail(err);
    return -1;
}

bool LinuxSerialOs::failOpen(int err) {
    releaseDescriptors();
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    return fail(err);
}

bool LinuxSerialOs::failNotSerial() {
    struct stat st {};
    const char* kind = ::fstat(m_fd, &st) == 0 ? fileKindText(st.st_mode) : nullptr;
    std::string what = kind == nullptr ? "not a terminal" : kind;
    if (kind != nullptr && (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))) {
        what = "a device that is not a terminal";
    }
    failOpen(ENOTTY);
    m_lastError.kind = SerialError::Kind::NotSerial;
    m_lastError.message = what;
    return false;
}

void LinuxSerialOs::markHungUp() {
    // The monitor's wait reports the loss once; wake it in case the transfer
    // that found it came first.
    if (!m_hungUp.exchange(true) && m_wakeFd >= 0) signalEventFd(m_wakeFd);
}

bool LinuxSerialOs::openPort(const std::string& name) {
    if (m_fd >= 0) return fail(EBUSY);
    const auto path = resolvePortName(name, m_env);
    m_device = path.value_or(std::string());
    if (!path) return fail(ENOENT);  // no device: SerialError::device stays empty
    // O_NONBLOCK: every wait goes through poll with its own bound, and opening a
    // line without carrier must not hang. O_NOCTTY: never become our controlling tty.
    const int fd = retryOnEintr(
        [&] { return ::open(path->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); });
    if (fd < 0) return fail(errno);
    m_fd = fd;
    // A regular file or /dev/null opens as well as a port does; without this the
    // termios calls below would fail with ENOTTY, which reads as "no such device".
    if (!::isatty(fd)) return failNotSerial();
    // Exclusive at once. TIOCEXCL makes further opens fail with EBUSY, but root
    // is exempt from it; the advisory lock makes a second open by this program
    // fail for every user, root included.
    if (retryOnEintr([&] { return ::flock(fd, LOCK_EX | LOCK_NB); }) != 0 ||
        ::ioctl(fd, TIOCEXCL) != 0) {
        return failOpen(errno);
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return failOpen(errno);  // not a terminal
    // Raw bytes both ways; the port's speed, size, parity and flow stay as found
    // until setLineState.
    makeRawKeepingLine(tio);
    if (retryOnEintr([&] { return ::tcsetattr(fd, TCSANOW, &tio); }) != 0) return failOpen(errno);
    m_hungUp.store(false);
    m_lossReported = false;
    if (!createWaitSet()) return failOpen(errno);
    m_state = lineStateFromTermios(tio, m_state);
    m_lastError = {};
    return true;
}

bool LinuxSerialOs::createWaitSet() {
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_modemFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_epollFd = ::epoll_create1(EPOLL_CLOEXEC);
    if (m_wakeFd < 0 || m_modemFd < 0 || m_epollFd < 0) return false;
    // The port itself joins the set at the first wait, see watchPort.
    m_portWatched = false;
    epoll_event wake{};
    wake.events = EPOLLIN;
    wake.data.fd = m_wakeFd;
    epoll_event modem{};
    modem.events = EPOLLIN;
    modem.data.fd = m_modemFd;
    return ::epoll_ctl(m_epollFd, EPOLL_CTL_ADD, m_wakeFd, &wake) == 0 &&
           ::epoll_ctl(m_epollFd, EPOLL_CTL_ADD, m_modemFd, &modem) == 0;
}

bool LinuxSerialOs::requestLowLatency() {
    if (m_fd < 0) return fail(EBADF);
    serial_struct serial{};
    if (::ioctl(m_fd, TIOCGSERIAL, &serial) != 0) return fail(errno);  // not a UART driver
    // The driver's flags word is a signed int; the flag's macro is unsigned.
    constexpr int kLowLatency = static_cast<int>(ASYNC_LOW_LATENCY);
    if (serial.flags & kLowLatency) return true;
    serial.flags |= kLowLatency;
    if (retryOnEintr([&] { return ::ioctl(m_fd, TIOCSSERIAL, &serial); }) != 0) return fail(errno);
    return true;
}

bool LinuxSerialOs::setupQueues(int32_t, int32_t) {
    // The kernel's queues have a fixed size; the request is accepted as advice.
    return m_fd >= 0 ? true : fail(EBADF);
}

bool LinuxSerialOs::getLineState(LineState& state) {
    if (m_fd < 0) return fail(EBADF);
    state = m_state;
    return true;
}

bool LinuxSerialOs::setLineState(const LineState& state) {
    if (m_fd < 0) return fail(EBADF);
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) return fail(errno);
    if (!applyLineState(tio, state)) return fail(EINVAL);
    if (retryOnEintr([&] { return ::tcsetattr(m_fd, TCSANOW, &tio); }) != 0) return fail(errno);
    // DTR and RTS modes "disable" and "enable" set the line once here. On a
    // device without modem lines these ioctls fail, which changes nothing.
    const auto setLine = [&](LineControl mode, int line) {
        if (mode == LineControl::Disable) ::ioctl(m_fd, TIOCMBIC, &line);
        if (mode == LineControl::Enable) ::ioctl(m_fd, TIOCMBIS, &line);
    };
    setLine(dtrControl(state.Flags), TIOCM_DTR);
    setLine(rtsControl(state.Flags), TIOCM_RTS);
    m_state = state;
    return true;
}

bool LinuxSerialOs::setTimeouts(const Timeouts& timeouts) {
    if (m_fd < 0) return fail(EBADF);
    m_timeouts = timeouts;
    return true;
}

bool LinuxSerialOs::setEventMask(uint32_t mask) {
    if (m_fd < 0) return fail(EBADF);
    m_mask.store(mask);
    if (mask == 0) {
        // Ends a wait in progress; the eventfd stays readable, so a wait that
        // starts only now ends at once as well. The modem watch stays until
        // closePort: the waiting thread may be reading its events right now.
        signalEventFd(m_wakeFd);
    } else {
        // A nonzero mask is set while no thread waits (at open), so the watch
        // can be replaced here.
        drainEventFd(m_wakeFd);
        m_modem.reset();
        if (mask & kModemEvents) m_modem = std::make_unique<ModemWatch>(m_fd, m_modemFd, mask);
    }
    return true;
}

void LinuxSerialOs::watchPort() {
    // Edge-triggered: poll is level-triggered and would report the same unread
    // bytes again and again; an edge comes once for each arrival of new data
    // and never for bytes that merely stay queued. A hang-up is likewise
    // reported once. The port joins only now, after open has configured and
    // purged it, because setting the terminal's attributes wakes its readers
    // too: registered earlier, that wake-up would be reported as an arrival.
    // Bytes already queued at this point make the port ready at once.
    m_portWatched = true;
    if (m_hungUp.load()) return;
    epoll_event port{};
    port.events = EPOLLIN | EPOLLET;
    port.data.fd = m_fd;
    ::epoll_ctl(m_epollFd, EPOLL_CTL_ADD, m_fd, &port);
}

bool LinuxSerialOs::waitEvent(uint32_t& events) {
    if (!m_portWatched) watchPort();
    for (;;) {
        const uint32_t mask = m_mask.load();
        if (mask == 0) {
            events = 0;
            return true;
        }
        if (m_hungUp.load() && !m_lossReported) {
            m_lossReported = true;
            events = EV_LINELOST;
            return true;
        }
        epoll_event ready[3];
        const int n = retryOnEintr([&] { return ::epoll_wait(m_epollFd, ready, 3, -1); });
        if (n < 0) {
            // Should not happen; block on the wake-up alone so that the caller,
            // which waits again at once, cannot spin.
            pollfd wake{m_wakeFd, POLLIN, 0};
            retryOnEintr([&] { return ::poll(&wake, 1, -1); });
            events = 0;
            return false;
        }
        uint32_t found = 0;
        for (int i = 0; i < n; ++i) {
            const int fd = ready[i].data.fd;
            if (fd == m_modemFd) {
                drainEventFd(m_modemFd);
                if (m_modem) found |= m_modem->takeEvents();
            } else if (fd == m_fd) {
                if (ready[i].events & (EPOLLHUP | EPOLLERR)) {
                    // The line is gone (a pulled adapter, the far end of a
                    // pseudo-terminal closed): stop watching it, so the wait
                    // blocks on the wake-up alone, and let transfers fail.
                    markHungUp();
                    ::epoll_ctl(m_epollFd, EPOLL_CTL_DEL, m_fd, nullptr);
                }
                int queued = 0;
                if ((ready[i].events & EPOLLIN) && ::ioctl(m_fd, FIONREAD, &queued) == 0 &&
                    queued > 0) {
                    found |= EV_RXCHAR;
                }
            }
            // The wake-up eventfd: a cleared mask is seen by the test above. A
            // lost line wakes it as well; drain that, or it would stay readable.
            // A clear that comes meanwhile stored its mask before signalling,
            // so the test above still sees it.
            if (fd == m_wakeFd && m_mask.load() != 0) drainEventFd(m_wakeFd);
        }
        found &= m_mask.load();
        if (found != 0) {
            events = found;
            return true;
        }
    }
}

bool LinuxSerialOs::clearError(int32_t& inQueue) {
    if (m_fd < 0) return false;
    int queued = 0;
    if (::ioctl(m_fd, FIONREAD, &queued) != 0) return false;
    inQueue = queued;
    return true;
}

bool LinuxSerialOs::purge(uint32_t flags) {
    if (m_fd < 0) return fail(EBADF);
    // Transfers run to their end inside read and write, so there is never one
    // pending to abort; only the two clear flags have work to do.
    const bool rx = flags & PURGE_RXCLEAR;
    const bool tx = flags & PURGE_TXCLEAR;
    if (!rx && !tx) return true;
    const int which = rx && tx ? TCIOFLUSH : (rx ? TCIFLUSH : TCOFLUSH);
    if (::tcflush(m_fd, which) != 0) return fail(errno);
    return true;
}

bool LinuxSerialOs::escape(uint32_t function) {
    if (m_fd < 0) return fail(EBADF);
    int line = 0;
    unsigned long request = 0;
    switch (function) {
        case SETRTS:
            line = TIOCM_RTS;
            request = TIOCMBIS;
            break;
        case CLRRTS:
            line = TIOCM_RTS;
            request = TIOCMBIC;
            break;
        case SETDTR:
            line = TIOCM_DTR;
            request = TIOCMBIS;
            break;
        case CLRDTR:
            line = TIOCM_DTR;
            request = TIOCMBIC;
            break;
        default:
            return fail(EINVAL);
    }
    if (retryOnEintr([&] { return ::ioctl(m_fd, request, &line); }) != 0) return fail(errno);
    return true;
}

int LinuxSerialOs::transferBlocked(int32_t count) const {
    if (m_fd < 0) return EBADF;
    if (m_hungUp.load()) return EIO;
    return count < 0 ? EINVAL : 0;
}

int LinuxSerialOs::waitReady(short events, bool bounded, Clock::time_point until) {
    pollfd p{m_fd, events, 0};
    const int r = retryOnEintr([&] { return ::poll(&p, 1, msLeft(bounded, until)); });
    if (r <= 0) return r;
    // Hung up; a reader still gets the bytes that came before (POLLIN with them).
    if ((p.revents & (POLLHUP | POLLERR | POLLNVAL)) && !(p.revents & POLLIN)) {
        errno = EIO;
        return -1;
    }
    return 1;
}

int32_t LinuxSerialOs::read(uint8_t* buffer, int32_t count, int32_t waitMs) {
    if (int err = transferBlocked(count)) return failTransfer(err);
    const bool bounded = waitMs >= 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(waitMs, 0));
    const auto interval = std::chrono::milliseconds(m_timeouts.ReadIntervalTimeout);
    int32_t got = 0;
    while (got < count) {
        const ssize_t n = retryOnEintr(
            [&] { return ::read(m_fd, buffer + got, static_cast<size_t>(count - got)); });
        if (n > 0) {
            got += static_cast<int32_t>(n);
            continue;
        }
        // A 0-byte read from a terminal in this mode means the line has hung up.
        if (n == 0) return failTransfer(EIO);
        if (errno != EAGAIN) return failTransfer(errno);
        // After the first byte, a gap longer than the interval ends the read.
        const bool gapBound = got > 0 && interval.count() > 0;
        const auto until = gapBound ? std::min(deadline, Clock::now() + interval) : deadline;
        const int r = waitReady(POLLIN, bounded || gapBound, until);
        if (r < 0) return failTransfer(errno);
        if (r == 0) break;  // time-out: report what arrived
    }
    return got;
}

int32_t LinuxSerialOs::write(const uint8_t* buffer, int32_t count, int32_t waitMs) {
    if (int err = transferBlocked(count)) return failTransfer(err);
    const bool bounded = waitMs >= 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(waitMs, 0));
    int32_t sent = 0;
    while (sent < count) {
        const ssize_t n = retryOnEintr(
            [&] { return ::write(m_fd, buffer + sent, static_cast<size_t>(count - sent)); });
        if (n > 0) {
            sent += static_cast<int32_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN) return failTransfer(errno);
        const int r = waitReady(POLLOUT, bounded, deadline);
        if (r < 0) return failTransfer(errno);
        if (r == 0) break;  // time-out: report what went out
    }
    return sent;
}

// Reads and writes wait on the port itself with poll; there is nothing to make.
bool LinuxSerialOs::createEvents() { return m_fd >= 0; }
void LinuxSerialOs::closeEvents() {}

void LinuxSerialOs::releaseDescriptors() {
    m_modem.reset();
    // close() is never retried: Linux releases the descriptor even when it
    // reports EINTR, and by then the number may belong to another thread's file.
    for (int* fd : {&m_epollFd, &m_modemFd, &m_wakeFd}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

bool LinuxSerialOs::closePort() {
    if (m_fd < 0) return fail(EBADF);
    releaseDescriptors();
    // The exclusive mode belongs to the terminal, not to this descriptor: it
    // would outlive us while another process (a pseudo-terminal's owner) keeps
    // the device open, and shut out the next user who is not root.
    ::ioctl(m_fd, TIOCNXCL);
    const int result = ::close(m_fd);  // not retried, see releaseDescriptors
    const int err = errno;
    m_fd = -1;
    m_mask.store(0);
    m_hungUp.store(false);
    // EINTR: the descriptor is released all the same on Linux.
    if (result != 0 && err != EINTR) return fail(err);
    return true;
}

}  // namespace tv
