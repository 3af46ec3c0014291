#include <windows.h>

#include "os/append_file.h"
#include "os/file_steps_win32.h"
#include "os/system_error_text.h"

namespace tv {

AppendFile::~AppendFile() {
    if (m_file != nullptr) ::CloseHandle(m_file);
}

int AppendFile::open(const std::string& path) {
    if (m_file != nullptr) ::CloseHandle(m_file);
    m_file = nullptr;
    // FILE_APPEND_DATA without FILE_WRITE_DATA: every write goes to the end as one
    // step, and nothing before it can be overwritten. Others may read and append.
    const HANDLE file =
        ::CreateFileW(wideText(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return static_cast<int>(::GetLastError());
    m_file = file;
    return 0;
}

int AppendFile::append(std::string_view line, const std::atomic<bool>* /*stop*/) {
    // The stop flag is not looked at: a log on Windows is a file (a named pipe would wait as
    // the system lets it; the bench logs are files).
    if (m_file == nullptr) return ERROR_INVALID_HANDLE;
    DWORD written = 0;
    if (!::WriteFile(m_file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) {
        return static_cast<int>(::GetLastError());
    }
    return written == line.size() ? 0 : ERROR_HANDLE_DISK_FULL;
}

std::string appendOpenFailureText(const std::string& /*path*/, int code) {
    return systemErrorText(code);
}

bool appendWasStopped(int code) { return code == ERROR_OPERATION_ABORTED; }

}  // namespace tv
