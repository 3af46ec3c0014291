#pragma once
// tvcalc's arguments: the radio options by their on-screen texts, the output
// switches and the three numbers.
#include <stdexcept>
#include <string>
#include <vector>

#include "synth/synth_options.h"

namespace tv {

struct CommandLine {
    SynthOptions options;  // defaults as the window starts without a settings file
    std::string localOutput;
    std::string multiplier;
    std::string std;
    bool all = false;
    bool realizable = false;  // only matches whose counters keep the chip's rules
    bool tsv = false;
    bool help = false;
};

class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// Throws UsageError naming what was wrong and, for an option, the accepted values.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// The on-screen item texts of the radio option `name` ("--mux"), in index order;
// empty for a name tvcalc does not know.
std::vector<std::string> radioItemTexts(const std::string& name);

std::string helpText();
std::string usageLine();

}  // namespace tv
