#include "tools/tvprog/describe_open_failure.h"

#include <cstring>

namespace tv {

std::string describeOpenFailure(const SerialError& error) {
    if (!error.message.empty()) return error.message;
    if (error.code != 0) return std::strerror(error.code);
    return "the port gave no reason";
}

}  // namespace tv
