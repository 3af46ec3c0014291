#include "os/file_steps_posix.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tv {

int openRetrying(const char* path, int flags, mode_t mode) {
    int fd = -1;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;  // ENOSPC on a full disk, after any part that did fit
        }
        if (n == 0) return EIO;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

int closeChecked(int fd) { return ::close(fd) < 0 && errno != EINTR ? errno : 0; }

}  // namespace tv
