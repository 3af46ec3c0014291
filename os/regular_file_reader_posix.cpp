#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "os/file_error.h"
#include "os/file_kind_posix.h"
#include "os/file_steps_posix.h"
#include "os/regular_file_reader.h"
#include "os/retry_on_eintr.h"

namespace tv {

namespace {

NotRegularFileError notRegular(mode_t mode) {
    return NotRegularFileError(notRegularFileText(mode));
}

class PosixFileReader final : public RegularFileReader {
public:
    explicit PosixFileReader(int fd) : m_fd(fd) {}
    PosixFileReader(const PosixFileReader&) = delete;
    PosixFileReader& operator=(const PosixFileReader&) = delete;
    ~PosixFileReader() override { closeChecked(m_fd); }

    size_t read(char* buffer, size_t size) override {
        const ssize_t n = retryOnEintr([&] { return ::read(m_fd, buffer, size); });
        if (n < 0) throw fileErrorWithCause(errno);
        return static_cast<size_t>(n);
    }

private:
    int m_fd;
};

}  // namespace

std::unique_ptr<RegularFileReader> openRegularFile(const std::string& path) {
    // O_NONBLOCK: a FIFO with no writer opens at once instead of waiting for
    // one, so that fstat can refuse it. A regular file ignores the flag.
    const int fd = openRetrying(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int openError = errno;
        // A socket does not open at all (ENXIO): say what it is all the same.
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) throw notRegular(st.st_mode);
        throw fileErrorWithCause(openError);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int statError = errno;
        closeChecked(fd);
        throw fileErrorWithCause(statError);
    }
    if (!S_ISREG(st.st_mode)) {
        closeChecked(fd);
        throw notRegular(st.st_mode);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return std::make_unique<PosixFileReader>(fd);
}

}  // namespace tv
