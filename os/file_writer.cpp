#include "os/file_writer.h"

#include "os/file_steps.h"

namespace tv {

namespace {

// The system's writer: the file steps every written file goes through, one call
// each.
class SystemFileWriter final : public FileWriter {
public:
    SystemFileWriter() = default;
    SystemFileWriter(const SystemFileWriter&) = delete;
    SystemFileWriter& operator=(const SystemFileWriter&) = delete;
    ~SystemFileWriter() override;

    int create(const std::string& path) override;
    int write(std::string_view bytes) override;
    int flush() override;
    int close() override;
    void remove(const std::string& path) override;

private:
    FileHandle m_file = kNoFile;
};

SystemFileWriter::~SystemFileWriter() {
    if (m_file != kNoFile) {
        closeFile(m_file);
    }
}

int SystemFileWriter::create(const std::string& path) {
    if (m_file != kNoFile) {
        close();
    }
    const int err = createFile(path, m_file);
    if (err != 0) {
        m_file = kNoFile;
    }
    return err;
}

int SystemFileWriter::write(std::string_view bytes) {
    if (m_file == kNoFile) {
        return kNotOpen;
    }
    return writeAll(m_file, bytes);
}

int SystemFileWriter::flush() {
    if (m_file == kNoFile) {
        return kNotOpen;
    }
    // A disk that fills up while the data is written back reports it here, not at write().
    const int err = syncFile(m_file);
    return cannotSync(err) ? 0 : err;
}

int SystemFileWriter::close() {
    if (m_file == kNoFile) {
        return kNotOpen;
    }
    const FileHandle file = m_file;
    m_file = kNoFile;
    return closeFile(file);
}

void SystemFileWriter::remove(const std::string& path) { removeFile(path); }

}  // namespace

std::unique_ptr<FileWriter> systemFileWriter() { return std::make_unique<SystemFileWriter>(); }

}  // namespace tv
