#include <windows.h>

#include "os/file_error.h"
#include "os/file_steps_win32.h"
#include "os/regular_file_reader.h"

namespace tv {

namespace {

class Win32FileReader final : public RegularFileReader {
public:
    explicit Win32FileReader(HANDLE file) : m_file(file) {}
    Win32FileReader(const Win32FileReader&) = delete;
    Win32FileReader& operator=(const Win32FileReader&) = delete;
    ~Win32FileReader() override { closeChecked(m_file); }

    size_t read(char* buffer, size_t size) override {
        DWORD got = 0;
        const DWORD want = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        if (!::ReadFile(m_file, buffer, want, &got, nullptr)) {
            throw fileErrorWithCause(static_cast<int>(::GetLastError()));
        }
        return got;
    }

private:
    HANDLE m_file;
};

}  // namespace

std::unique_ptr<RegularFileReader> openRegularFile(const std::string& path) {
    const std::wstring wide = wideText(path);
    const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const int openError = static_cast<int>(::GetLastError());
        // A directory does not open without backup semantics and reports access
        // denied, which would send the operator after permissions.
        const DWORD attributes = ::GetFileAttributesW(wide.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            throw NotRegularFileError("a directory, not a regular file");
        }
        throw fileErrorWithCause(openError);
    }
    // NUL, CON and COM ports are character devices, \\.\pipe\ names pipes:
    // neither ends like a file.
    const DWORD type = ::GetFileType(file);
    if (type != FILE_TYPE_DISK) {
        closeChecked(file);
        if (type == FILE_TYPE_PIPE) throw NotRegularFileError("a pipe, not a regular file");
        if (type == FILE_TYPE_CHAR) throw NotRegularFileError("a device, not a regular file");
        throw NotRegularFileError("not a regular file");
    }
    return std::make_unique<Win32FileReader>(file);
}

}  // namespace tv
