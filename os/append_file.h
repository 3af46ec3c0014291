#pragma once
// A file that is only ever appended to, one whole line per write: lines that
// several writers (threads or processes) append never interleave, and nothing
// already in the file is touched.
#include <string>
#include <string_view>

namespace tv {

class AppendFile {
public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Opens `path` for appending, creating it if missing; 0 or the system's code
    // (errno, GetLastError() on Windows), for systemErrorText().
    int open(const std::string& path);
    // Appends `line` with one write; a write that takes only part of it is a
    // failure too (the system's code for a full disk).
    int append(std::string_view line);

private:
#ifdef _WIN32
    void* m_file = nullptr;
#else
    int m_fd = -1;
#endif
};

}  // namespace tv
