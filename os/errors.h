#pragma once
// The errors that handlers let escape. The window's guard shows what() in the
// standard error box, so every message is written for the operator, in UTF-8.
#include <stdexcept>
#include <string>

namespace tv {

// A conversion, arithmetic or settings-file error raised below the window.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tv
