#include "os/file_kind_posix.h"

#include <sys/stat.h>

namespace tv {

const char* fileKindText(mode_t mode) {
    if (S_ISREG(mode)) return "a regular file";
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return nullptr;
}

std::string notRegularFileText(mode_t mode) {
    const char* kind = fileKindText(mode);
    return kind == nullptr ? "not a regular file" : std::string(kind) + ", not a regular file";
}

}  // namespace tv
