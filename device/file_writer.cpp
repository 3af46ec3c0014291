#include "device/file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tv {

PosixFileWriter::~PosixFileWriter() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

int PosixFileWriter::create(const std::string& path) {
    if (m_fd >= 0) {
        close();
    }
    do {
        // 0666: the umask decides, as for any file the operator's programs create.
        m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (m_fd < 0 && errno == EINTR);
    return m_fd < 0 ? errno : 0;
}

int PosixFileWriter::write(std::string_view bytes) {
    if (m_fd < 0) {
        return EBADF;
    }
    while (!bytes.empty()) {
        const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;  // ENOSPC on a full disk, after any part that did fit
        }
        if (n == 0) {
            return EIO;  // no progress and no reason given: never report that as written
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

int PosixFileWriter::flush() {
    if (m_fd < 0) {
        return EBADF;
    }
    // A disk that fills up while the data is written back reports it here, not at write().
    if (::fsync(m_fd) < 0) {
        // Special files and some file systems cannot be synchronised; nothing was lost.
        if (errno == EINVAL || errno == EROFS || errno == ENOTSUP) {
            return 0;
        }
        return errno;
    }
    return 0;
}

int PosixFileWriter::close() {
    if (m_fd < 0) {
        return EBADF;
    }
    const int fd = m_fd;
    m_fd = -1;
    // Never retried: Linux releases the descriptor even when close() fails, and a
    // retry could close a descriptor another thread has just been given.
    if (::close(fd) < 0 && errno != EINTR) {
        return errno;
    }
    return 0;
}

void PosixFileWriter::remove(const std::string& path) {
    ::unlink(path.c_str());
}

}  // namespace tv
