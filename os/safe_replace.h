#pragma once
// Whole-file reading and replacing, for a file that must never be left half
// written (the settings file).
#include <string>
#include <string_view>

namespace tv {

// Reads the whole of a regular file into `content`. Returns 0 or the system's code
// of the failure (errno; GetLastError() on Windows): ENOENT for a missing file on
// every system, EISDIR for a directory (ERROR_ACCESS_DENIED on Windows). For
// anything else that is no regular file (a FIFO, a device) the code is EINVAL
// (ERROR_INVALID_FUNCTION), and `notRegular`, when given, gets what it is:
// "a FIFO (named pipe), not a regular file".
int readWholeFile(const std::string& path, std::string& content, std::string* notRegular = nullptr);

// Replaces the file at `path` (following a symbolic link to its target) by
// `content`: the new content goes into a temporary file in the same directory,
// is synchronised to the disk and renamed over the old file, which keeps its
// permission bits (on Windows: written through, flushed and put in place by
// ReplaceFileW, keeping the old file's attributes). A crash or a full disk leaves
// the old or the new file, never a mixture. A read-only file (no write permission
// bit, whoever runs the program; the read-only attribute on Windows) or one this
// process may not write is refused before anything is written. Returns 0 or the
// system's code of the failed step; the temporary file is removed on failure. Temporary files of
// this naming (".<name>.<pid>.<n>.tmp") that a process which no longer runs left behind are removed
// first.
int replaceFile(const std::string& path, std::string_view content);

}  // namespace tv
