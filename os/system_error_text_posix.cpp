#include <cstring>

#include "os/system_error_text.h"

namespace tv {

std::string systemErrorText(int code) {
    if (code == 0) return {};
    char buffer[256];
    // The GNU strerror_r: returns the text, in `buffer` or a static string.
    return ::strerror_r(code, buffer, sizeof buffer);
}

}  // namespace tv
