#include <windows.h>

#include "os/file_steps_win32.h"
#include "os/file_writer.h"

namespace tv {

namespace {

class Win32FileWriter final : public FileWriter {
public:
    Win32FileWriter() = default;
    Win32FileWriter(const Win32FileWriter&) = delete;
    Win32FileWriter& operator=(const Win32FileWriter&) = delete;
    ~Win32FileWriter() override;

    int create(const std::string& path) override;
    int write(std::string_view bytes) override;
    int flush() override;
    int close() override;
    void remove(const std::string& path) override;

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
};

Win32FileWriter::~Win32FileWriter() {
    if (m_file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(m_file);
    }
}

int Win32FileWriter::create(const std::string& path) {
    if (m_file != INVALID_HANDLE_VALUE) {
        close();
    }
    // Others may read the header while it is written (an editor, a viewer), not
    // write it; CREATE_ALWAYS truncates a header of the same minute.
    m_file = ::CreateFileW(wideText(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return m_file == INVALID_HANDLE_VALUE ? static_cast<int>(::GetLastError()) : 0;
}

int Win32FileWriter::write(std::string_view bytes) {
    if (m_file == INVALID_HANDLE_VALUE) {
        return ERROR_INVALID_HANDLE;
    }
    return writeAll(m_file, bytes);
}

int Win32FileWriter::flush() {
    if (m_file == INVALID_HANDLE_VALUE) {
        return ERROR_INVALID_HANDLE;
    }
    // A disk that fills up while the cache is written back reports it here.
    if (!::FlushFileBuffers(m_file)) {
        const DWORD err = ::GetLastError();
        // A device such as NUL has no buffers to flush; nothing was lost.
        return err == ERROR_INVALID_FUNCTION || err == ERROR_INVALID_HANDLE ? 0
                                                                            : static_cast<int>(err);
    }
    return 0;
}

int Win32FileWriter::close() {
    if (m_file == INVALID_HANDLE_VALUE) {
        return ERROR_INVALID_HANDLE;
    }
    const HANDLE file = m_file;
    m_file = INVALID_HANDLE_VALUE;
    return closeChecked(file);
}

void Win32FileWriter::remove(const std::string& path) { ::DeleteFileW(wideText(path).c_str()); }

}  // namespace

std::unique_ptr<FileWriter> systemFileWriter() { return std::make_unique<Win32FileWriter>(); }

}  // namespace tv
