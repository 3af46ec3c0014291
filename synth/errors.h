#pragma once
// The errors that handlers let escape. The window's guard shows what() in the
// standard error box, so every message is written for the operator, in UTF-8.
#include <stdexcept>
#include <string>

namespace tv {

// A conversion, arithmetic or file error raised below the window.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A failed file step, carrying the platform-neutral code its message was made from
// (2 not found, 3 bad name, 4 too many open files, 5 access denied, other: errno).
class InOutError : public Error {
public:
    InOutError(int code, const std::string& message) : Error(message), m_code(code) {}
    int code() const { return m_code; }

private:
    int m_code;
};

}  // namespace tv
