#pragma once
// Reads a file that must be a regular file. A FIFO with no writer would block the
// open for ever, a device such as /dev/zero never ends, and a directory is no
// text: each is refused at the open, before a byte is read, with what it is.
#include <memory>
#include <stdexcept>
#include <string>

namespace tv {

// The path names something that is not a regular file. what() says what it is:
// "a directory, not a regular file".
class NotRegularFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class RegularFileReader {
public:
    virtual ~RegularFileReader() = default;
    // Up to `size` bytes into `buffer`; 0 at the end of the file. A failed read
    // throws tv::InOutError (os/file_error.h).
    virtual size_t read(char* buffer, size_t size) = 0;
};

// The file at `path` (UTF-8), opened for reading. Throws NotRegularFileError for
// anything but a regular file (a link is followed to what it names), and
// tv::InOutError when it cannot be opened.
std::unique_ptr<RegularFileReader> openRegularFile(const std::string& path);

}  // namespace tv
