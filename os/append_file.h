#pragma once
// A file that is only ever appended to, one whole line per write: lines that
// several writers (threads or processes) append never interleave, and nothing
// already in the file is touched. Neither the open nor a write waits for ever: a
// FIFO without a reader is refused at the open, and a write to a FIFO whose
// reader has stopped reading gives up when the caller's stop flag is raised.
#include <atomic>
#include <string>
#include <string_view>

namespace tv {

class AppendFile {
public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Opens `path` for appending, creating it if missing (a symbolic link is
    // followed and its target appended to, as a shell's >> does); 0 or the
    // system's code (errno, GetLastError() on Windows), for appendOpenFailureText().
    int open(const std::string& path);
    // Appends `line` with one write; a write that takes only part of it is a
    // failure too (the system's code for a full disk). While the file cannot
    // take the line (a full FIFO) it waits, until `stop` is raised: then EINTR
    // (ERROR_OPERATION_ABORTED on Windows).
    int append(std::string_view line, const std::atomic<bool>* stop = nullptr);

private:
#ifdef _WIN32
    void* m_file = nullptr;
#else
    int m_fd = -1;
#endif
};

// What went wrong when open() of `path` gave `code`, in words: the system's
// text, or for a FIFO that nobody reads what it is and what to do.
std::string appendOpenFailureText(const std::string& path, int code);

// True when `code` from append() means the caller's stop flag ended the wait.
bool appendWasStopped(int code);

}  // namespace tv
