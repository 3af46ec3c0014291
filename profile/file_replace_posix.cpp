#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "os/file_steps_posix.h"
#include "profile/file_replace.h"
#include "profile/temporary_name.h"

namespace tv {

namespace {

// The file that is really to be replaced: a symbolic link's target, so that the
// link stays a link.
int resolveTarget(const std::string& path, std::string& target) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) == nullptr) {
            return errno;
        }
        target = resolved;
    } else {
        target = path;
    }
    return 0;
}

// 0 when `target` may be replaced: it is missing, or this process may write to
// it. A file without any write permission bit was made read-only on purpose and
// is refused even to root, who writes through the bits; so is another user's
// file this process may not write. Both would otherwise fall to the rename, which
// asks only the folder.
int checkReplaceable(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        return errno == ENOENT ? 0 : errno;
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return EACCES;
    }
    return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

std::string directoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string fileNameOf(const std::string& target) { return target.substr(target.rfind('/') + 1); }

// Removes the temporary files that a save of `target` in a process that has died
// since (a crash, kill -9, a power cut) left behind. Files of live processes,
// of this one, and of any other name are left alone; a failure changes nothing.
void removeOrphanedTemporaries(const std::string& target) {
    DIR* directory = ::opendir(directoryOf(target).c_str());
    if (directory == nullptr) {
        return;
    }
    const std::string prefix = temporaryPrefix(fileNameOf(target));
    while (const dirent* entry = ::readdir(directory)) {
        // Nine digits at most: every pid fits, and a pid_t never turns negative,
        // which kill() would take for a process group (as it takes 0).
        const auto owner = static_cast<pid_t>(temporaryOwner(entry->d_name, prefix, 9));
        if (owner > 0 && owner != ::getpid() && ::kill(owner, 0) < 0 && errno == ESRCH) {
            ::unlinkat(::dirfd(directory), entry->d_name, 0);  // 0: never a directory
        }
    }
    ::closedir(directory);
}

// Creates a fresh temporary file beside `target`. O_EXCL makes a name already
// taken (a leftover of a crash, another program) fail instead of being reused.
int createTemporary(const std::string& target, std::string& temporary, int& fd) {
    static std::atomic<unsigned> counter{0};
    const std::string directory = directoryOf(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = directory + "/" + temporaryPrefix(fileNameOf(target)) +
                    std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
        // 0666: for a new settings file the umask decides, as for any other file.
        fd = openRetrying(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

int writeTemporary(int fd, const std::string& target, std::string_view content) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        // Best effort: only the owner may change the mode, and failing to keep it
        // is no reason to keep the operator's settings unsaved.
        (void)::fchmod(fd, st.st_mode & 07777);
    }
    if (const int err = writeAll(fd, content)) {
        return err;
    }
    // The data must be on the disk before the rename makes it the settings file.
    if (::fsync(fd) < 0) {
        return errno;
    }
    return 0;
}

}  // namespace

int readWholeFile(const std::string& path, std::string& content) {
    content.clear();
    // O_NONBLOCK: a FIFO put where the settings file belongs must not hang the start.
    const int fd = openRetrying(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return errno;
    }
    int err = 0;
    struct stat st {};
    if (::fstat(fd, &st) < 0) {
        err = errno;
    } else if (S_ISDIR(st.st_mode)) {
        err = EISDIR;
    } else if (!S_ISREG(st.st_mode)) {
        err = EINVAL;  // a device or a FIFO: no settings to read there
    }
    char chunk[65536];
    while (err == 0) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno != EINTR) {
                err = errno;
            }
            continue;
        }
        if (n == 0) {
            break;
        }
        content.append(chunk, static_cast<size_t>(n));
    }
    ::close(fd);  // a read-only descriptor: nothing to lose at close
    return err;
}

int replaceFile(const std::string& path, std::string_view content) {
    std::string target;
    if (const int err = resolveTarget(path, target)) {
        return err;
    }
    if (const int err = checkReplaceable(target)) {
        return err;
    }
    removeOrphanedTemporaries(target);
    std::string temporary;
    int fd = -1;
    if (const int err = createTemporary(target, temporary, fd)) {
        return err;
    }
    int err = writeTemporary(fd, target, content);
    const int closeErr = closeChecked(fd);
    if (err == 0) {
        err = closeErr;
    }
    if (err == 0 && ::rename(temporary.c_str(), target.c_str()) < 0) {
        err = errno;
    }
    if (err != 0) {
        ::unlink(temporary.c_str());
        return err;
    }
    // Make the rename itself durable. The new file is in place already, so a
    // directory that cannot be synchronised is no failure of the update.
    const int directory =
        openRetrying(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
    return 0;
}

}  // namespace tv
