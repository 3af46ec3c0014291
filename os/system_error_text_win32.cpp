#include <windows.h>

#include "os/file_steps_win32.h"
#include "os/system_error_text.h"

namespace tv {

std::string systemErrorText(int code) {
    if (code == 0) return {};
    wchar_t buffer[512];
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, buffer, sizeof buffer / sizeof buffer[0], nullptr);
    std::wstring_view text(buffer, length);
    // The system's texts end in a full stop and CR LF; the callers add their own end.
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.remove_suffix(1);
    }
    if (text.empty()) return "error " + std::to_string(code);
    return utf8Text(text);
}

}  // namespace tv
