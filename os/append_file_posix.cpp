#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "os/append_file.h"
#include "os/file_steps_posix.h"
#include "os/retry_on_eintr.h"
#include "os/system_error_text.h"

namespace tv {

namespace {
// A stop flag raised by a signal handler does not wake poll(), so it waits in slices.
constexpr int kWaitSliceMs = 50;
}  // namespace

AppendFile::~AppendFile() {
    if (m_fd >= 0) ::close(m_fd);
}

int AppendFile::open(const std::string& path) {
    if (m_fd >= 0) ::close(m_fd);
    // O_APPEND: every write goes to the end as one step, whoever else appends.
    // O_NONBLOCK: a FIFO with no reader fails at once (ENXIO) instead of waiting
    // for one; the descriptor stays non-blocking, so that a write to a FIFO whose
    // reader does not read waits in append(), where a stop can end it. A regular
    // file ignores the flag.
    m_fd = openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0666);
    return m_fd < 0 ? errno : 0;
}

int AppendFile::append(std::string_view line, const std::atomic<bool>* stop) {
    if (m_fd < 0) return EBADF;
    for (;;) {
        const ssize_t written =
            retryOnEintr([&] { return ::write(m_fd, line.data(), line.size()); });
        if (written >= 0) {
            // Not written again in parts: the rest could land behind another writer's line.
            return static_cast<size_t>(written) == line.size() ? 0 : ENOSPC;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) return errno;
        if (stop != nullptr && stop->load()) return EINTR;
        pollfd ready{m_fd, POLLOUT, 0};
        ::poll(&ready, 1, kWaitSliceMs);
    }
}

std::string appendOpenFailureText(const std::string& path, int code) {
    struct stat st {};
    if (code == ENXIO && ::stat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) {
        return "a FIFO (named pipe) that nobody reads; start its reader first, or give a "
               "regular file";
    }
    return systemErrorText(code);
}

bool appendWasStopped(int code) { return code == EINTR; }

}  // namespace tv
