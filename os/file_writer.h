#pragma once
// The file steps of the header export, behind an interface so that tests can
// make any one of them fail.
#include <string>
#include <string_view>

namespace tv {

// Each step returns 0 or the errno of its failure.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual int create(const std::string& path) = 0;  // create, or truncate an existing file
    virtual int write(std::string_view bytes) = 0;    // all of the bytes, or a failure
    virtual int flush() = 0;                          // down to the disk
    virtual int close() = 0;
    virtual void remove(const std::string& path) = 0;  // best effort, after a failure
};

class PosixFileWriter final : public FileWriter {
public:
    PosixFileWriter() = default;
    PosixFileWriter(const PosixFileWriter&) = delete;
    PosixFileWriter& operator=(const PosixFileWriter&) = delete;
    ~PosixFileWriter() override;

    int create(const std::string& path) override;
    int write(std::string_view bytes) override;
    int flush() override;
    int close() override;
    void remove(const std::string& path) override;

private:
    int m_fd = -1;
};

}  // namespace tv
