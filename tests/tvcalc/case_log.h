// Every argument list the tvcalc tests hand tvcalc, written out for a replay.
//
// When TVCALC_CASE_LOG names a file, each list is appended to it as one line,
// the arguments separated by tabs. tests/windows/compare-tvcalc.sh runs the
// tests that way and replays every line through tvcalc.exe under Wine and the
// Linux tvcalc, so the two builds are compared over the very same table.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace tv::test {

inline void logTvcalcCase(const std::vector<std::string>& args) {
    const char* path = std::getenv("TVCALC_CASE_LOG");
    if (path == nullptr || *path == '\0') return;
    std::ofstream log(path, std::ios::app | std::ios::binary);
    for (size_t i = 0; i < args.size(); ++i) log << (i ? "\t" : "") << args[i];
    log << '\n';
}

}  // namespace tv::test
