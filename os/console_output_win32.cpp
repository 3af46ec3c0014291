#include <windows.h>

#include <cstdio>
#include <iostream>
#include <streambuf>
#include <string>
#include <string_view>

#include "os/console_output.h"
#include "os/file_steps_win32.h"
#include "os/utf8_pieces.h"

namespace tv {

namespace {

// A stream buffer that hands each write to the console at once, as UTF-16. It
// holds back only the unfinished end of a character split between two writes.
class ConsoleBuffer final : public std::streambuf {
public:
    ConsoleBuffer(HANDLE console, std::FILE* cStream) : m_console(console), m_cStream(cStream) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override {
        m_pending.append(text, static_cast<size_t>(count));
        return writeWhole() ? count : 0;
    }

    int sync() override { return writeWhole() ? 0 : -1; }

private:
    bool writeWhole() {
        const size_t whole = wholeUtf8Length(m_pending);
        if (whole == 0) return true;
        // What the C library still holds for the same console goes first.
        std::fflush(m_cStream);
        const std::wstring wide = wideText(std::string_view(m_pending).substr(0, whole));
        m_pending.erase(0, whole);
        return writeConsole(wide);
    }

    bool writeConsole(std::wstring_view wide) {
        // Older consoles refuse a single write much above 64 KiB.
        constexpr size_t kPiece = 8192;
        while (!wide.empty()) {
            size_t piece = wide.size() < kPiece ? wide.size() : kPiece;
            // A surrogate pair stays in one piece.
            if (piece < wide.size() && wide[piece - 1] >= 0xD800 && wide[piece - 1] <= 0xDBFF) {
                --piece;
            }
            DWORD written = 0;
            if (!::WriteConsoleW(m_console, wide.data(), static_cast<DWORD>(piece), &written,
                                 nullptr) ||
                written == 0) {
                return false;
            }
            wide.remove_prefix(written);
        }
        return true;
    }

    HANDLE m_console;
    std::FILE* m_cStream;
    std::string m_pending;
};

// The handle, when it is a console: NUL is a character device too, but has no
// console mode. A file or a pipe is neither.
HANDLE consoleOf(DWORD standardHandle) {
    const HANDLE handle = ::GetStdHandle(standardHandle);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return nullptr;
    if (::GetFileType(handle) != FILE_TYPE_CHAR) return nullptr;
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode) ? handle : nullptr;
}

void useConsoleFor(std::ostream& stream, DWORD standardHandle, std::FILE* cStream) {
    const HANDLE console = consoleOf(standardHandle);
    if (console == nullptr) return;
    stream.flush();
    // Never freed: the streams are flushed at exit, after every static is gone.
    stream.rdbuf(new ConsoleBuffer(console, cStream));
}

}  // namespace

void useConsoleTextOutput() {
    useConsoleFor(std::cout, STD_OUTPUT_HANDLE, stdout);
    useConsoleFor(std::cerr, STD_ERROR_HANDLE, stderr);
}

}  // namespace tv
