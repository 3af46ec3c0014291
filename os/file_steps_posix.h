#pragma once
// The POSIX calls under the file steps of os/file_steps.h, on descriptors, for the
// os/ sources of this system: each returns 0 or the errno of its failure, so that
// every caller checks every step.
#include <sys/types.h>

#include <string_view>

namespace tv {

// open(2), retried when a signal interrupts it; the descriptor, or -1 with errno set.
int openRetrying(const char* path, int flags, mode_t mode = 0);

// Writes all of `bytes`, going on after short writes and interruptions. A write
// that makes no progress is EIO: a partial file is never reported as written.
int writeAll(int fd, std::string_view bytes);

// close(2), never retried: Linux releases the descriptor even when close() fails,
// and a retry could close a descriptor another thread has just been given.
int closeChecked(int fd);

}  // namespace tv
