#include "os/file_steps_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "os/file_kind_posix.h"
#include "os/file_steps.h"
#include "os/safe_replace.h"

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

// The steps of os/file_steps.h. A FileHandle is a descriptor here.

const int kNameTaken = EEXIST;
const int kNotOpen = EBADF;
// Nine digits at most: every pid fits, and a pid_t never turns negative, which
// kill() would take for a process group (as it takes 0).
const size_t kProcessIdDigits = 9;

namespace {

int descriptor(FileHandle file) { return static_cast<int>(file); }

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

int createFile(const std::string& path, FileHandle& file) {
    // 0666: the umask decides, as for any file the operator's programs create.
    file = openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return file < 0 ? errno : 0;
}

int createExclusive(const std::string& path, const std::string& like, FileHandle& file) {
    // 0666: for a new file the umask decides, as for any other file. O_EXCL makes
    // a name already taken (a leftover of a crash, another program) fail instead
    // of being reused.
    file = openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0) {
        return errno;
    }
    struct stat st {};
    if (::stat(like.c_str(), &st) == 0) {
        // Best effort: only the owner may change the mode, and failing to keep it
        // is no reason to keep the operator's data unsaved.
        (void)::fchmod(descriptor(file), st.st_mode & 07777);
    }
    return 0;
}

int writeAll(FileHandle file, std::string_view bytes) { return writeAll(descriptor(file), bytes); }

int syncFile(FileHandle file) { return ::fsync(descriptor(file)) < 0 ? errno : 0; }

bool cannotSync(int code) { return code == EINVAL || code == EROFS || code == ENOTSUP; }

int closeFile(FileHandle file) { return closeChecked(descriptor(file)); }

void removeFile(const std::string& path) { ::unlink(path.c_str()); }

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

int mayReplace(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        return errno == ENOENT ? 0 : errno;
    }
    // A file without any write permission bit was made read-only on purpose and
    // is refused even to root, who writes through the bits; so is another user's
    // file this process may not write. Both would otherwise fall to the rename,
    // which asks only the folder.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return EACCES;
    }
    return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

int renameOver(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) < 0 ? errno : 0;
}

void syncFolderOf(const std::string& path) {
    const int folder = openRetrying(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

std::string fileNameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string siblingPath(const std::string& path, const std::string& name) {
    return folderOf(path) + "/" + name;
}

std::vector<std::string> listFolderOf(const std::string& path, std::string_view prefix) {
    std::vector<std::string> names;
    DIR* folder = ::opendir(folderOf(path).c_str());
    if (folder == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (name.substr(0, prefix.size()) == prefix) names.emplace_back(name);
    }
    ::closedir(folder);
    return names;
}

std::uint64_t currentProcessId() { return static_cast<std::uint64_t>(::getpid()); }

bool processEnded(std::uint64_t pid) {
    // 0 and a negative pid_t would name process groups, not a process.
    if (pid == 0 || pid > static_cast<std::uint64_t>(INT_MAX)) return false;
    return ::kill(static_cast<pid_t>(pid), 0) < 0 && errno == ESRCH;
}

int readWholeFile(const std::string& path, std::string& content, std::string* notRegular) {
    content.clear();
    // O_NONBLOCK: a FIFO put where the file belongs must not hang the start.
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
        err = EINVAL;  // a device or a FIFO: nothing to read there
        if (notRegular != nullptr) *notRegular = notRegularFileText(st.st_mode);
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

}  // namespace tv
