#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "os/append_file.h"
#include "os/file_steps_posix.h"
#include "os/retry_on_eintr.h"

namespace tv {

AppendFile::~AppendFile() {
    if (m_fd >= 0) ::close(m_fd);
}

int AppendFile::open(const std::string& path) {
    if (m_fd >= 0) ::close(m_fd);
    // O_APPEND: every write goes to the end as one step, whoever else appends.
    m_fd = openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    return m_fd < 0 ? errno : 0;
}

int AppendFile::append(std::string_view line) {
    if (m_fd < 0) return EBADF;
    const ssize_t written = retryOnEintr([&] { return ::write(m_fd, line.data(), line.size()); });
    if (written < 0) return errno;
    // Not written again in parts: the rest could land behind another writer's line.
    return static_cast<size_t>(written) == line.size() ? 0 : ENOSPC;
}

}  // namespace tv
