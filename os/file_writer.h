#pragma once
// The file steps of a whole-file export, behind an interface so that tests can
// make any one of them fail.
#include <memory>
#include <string>
#include <string_view>

namespace tv {

// Each step returns 0 or the system's code of its failure (errno, GetLastError() on
// Windows), for fileError().
class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual int create(const std::string& path) = 0;  // create, or truncate an existing file
    virtual int write(std::string_view bytes) = 0;    // all of the bytes, or a failure
    virtual int flush() = 0;                          // down to the disk
    virtual int close() = 0;
    virtual void remove(const std::string& path) = 0;  // best effort, after a failure
};

// The writer on the system's own files (create with the umask deciding the mode).
std::unique_ptr<FileWriter> systemFileWriter();

}  // namespace tv
