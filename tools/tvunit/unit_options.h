#pragma once
// tvunit's command line: what the simulated unit is told to do.
#include <optional>
#include <string>

namespace tv {

struct UnitOptions {
    bool help = false;
    std::string link;
    bool silent = false;
    bool twice = false;
    long stopAfter = -1;
    long hangupAfter = -1;
    long flood = 0;
    long delayMs = 0;
    long wireBaud = 0;      // 0: bytes pass as fast as the terminal takes them
    long corruptByte = -1;  // -1: stored images are kept as received
    std::string log;
};

// Parses the command line; nullopt after printing why it cannot be used.
std::optional<UnitOptions> parseUnitOptions(int argc, char** argv);
const char* unitHelpText();

}  // namespace tv
