#pragma once
// tvcalc --decode WORD... and --decode-header FILE: latch words back into the
// latch they are for and their fields by the window's item texts.
#include <iosfwd>
#include <string>
#include <vector>

namespace tv {

// True when the arguments ask for decoding rather than a ratio search.
bool isDecodeCommand(const std::vector<std::string>& args);

// Runs the decode command; returns the exit status (0, or 2 on a usage error,
// a word that is not 8 hexadecimal digits or a header that does not read).
int runDecodeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The decode section of tvcalc --help.
std::string decodeHelpText();

}  // namespace tv
