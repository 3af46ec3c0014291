#include "os/program_arguments.h"

namespace tv {

// The bytes as the shell passed them; a UTF-8 locale makes them UTF-8.
std::vector<std::string> programArguments(int argc, char** argv) {
    if (argc < 1) return {};
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace tv
