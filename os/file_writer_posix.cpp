#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "os/file_steps_posix.h"
#include "os/file_writer.h"

namespace tv {

namespace {

class PosixFileWriter final : public FileWriter {
public:
    PosixFileWriter() = default;
    PosixFileWriter(const PosixFileWriter&) = delete;
    PosixFileWriter& operator=(const PosixFileWriter&) = delete;
    ~PosixFileWriter() override;

    int create(const std::string& path) override;
    int write(std::string_view bytes) override;
    int flush() override;
    int close() override;
    void remove(const std::string& path) override;

private:
    int m_fd = -1;
};

PosixFileWriter::~PosixFileWriter() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

int PosixFileWriter::create(const std::string& path) {
    if (m_fd >= 0) {
        close();
    }
    // 0666: the umask decides, as for any file the operator's programs create.
    m_fd = openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return m_fd < 0 ? errno : 0;
}

int PosixFileWriter::write(std::string_view bytes) {
    if (m_fd < 0) {
        return EBADF;
    }
    return writeAll(m_fd, bytes);
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
    return closeChecked(fd);
}

void PosixFileWriter::remove(const std::string& path) { ::unlink(path.c_str()); }

}  // namespace

std::unique_ptr<FileWriter> systemFileWriter() { return std::make_unique<PosixFileWriter>(); }

}  // namespace tv
