// tvunit: plays a Tarvex unit on a pseudo-terminal so that the configurator
// can be tried and tested without hardware. See unitHelpText() for what it does.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "os/file_size_limit.h"
#include "unit_loop.h"
#include "unit_options.h"
#include "unit_terminal.h"

namespace {

// The --log file, or nullptr when none is asked for or it cannot be made.
bool openLog(const std::string& path, FILE*& log) {
    log = nullptr;
    if (path.empty()) return true;
    log = std::fopen(path.c_str(), "w");
    if (log != nullptr) return true;
    std::fprintf(stderr, "tvunit: cannot write the log %s: %s\n", path.c_str(),
                 std::strerror(errno));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    tv::ignoreFileSizeLimitSignal();  // a --log past a file-size limit fails, not kills
    const auto options = tv::parseUnitOptions(argc, argv);
    if (!options) return 2;
    if (options->help) {
        std::fputs(tv::unitHelpText(), stdout);
        return 0;
    }

    // The stop signals arrive through a descriptor, so the loop can poll for them.
    const int signals = tv::openStopSignals();
    if (signals < 0) {
        std::perror("tvunit: cannot make a pseudo-terminal");
        return 1;
    }
    const auto terminal = tv::openUnitTerminal();
    FILE* log = nullptr;
    if (!terminal || !openLog(options->log, log)) return 1;
    if (!options->link.empty() && !tv::makeTerminalLink(options->link, terminal->slavePath)) {
        return 1;
    }
    std::printf("%s\n", terminal->slavePath.c_str());
    std::fflush(stdout);

    tv::UnitLoop loop(*options, terminal->master, signals, tv::UnitLog(log));
    const int status = loop.run();

    tv::closeUnitTerminal(*terminal);
    if (!options->link.empty()) ::unlink(options->link.c_str());
    if (log != nullptr) std::fclose(log);
    return status;
}
