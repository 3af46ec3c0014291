#include "os/error_box.h"

namespace tv {

std::string errorBoxText(const std::string& message) {
    // Compared as unsigned bytes: every byte of a multi-byte UTF-8 character is
    // 0x80 or above and so sorts after ".".
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

}  // namespace tv
