// tvprog: writes a header's eight channels to a Tarvex unit, dumps its memory
// or initializes it, over the serial line. See progHelpText() for the usage.
#include <signal.h>

#include <atomic>
#include <iostream>

#include "tools/tvprog/prog_command_line.h"
#include "tools/tvprog/prog_commands.h"

namespace {

std::atomic<bool> g_stopRequested{false};

// Ends the command's wait; the port is then closed as after any command.
void requestStop(int) { g_stopRequested.store(true); }

}  // namespace

int main(int argc, char** argv) {
    tv::ProgLine line;
    try {
        line = tv::parseProgLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const tv::ProgUsageError& e) {
        std::cerr << "tvprog: " << e.what() << "\nusage: tvprog write|dump|init --port PORT ..."
                  << "  (tvprog --help for details)\n";
        return tv::kProgUsage;
    }
    if (line.help) {
        std::cout << tv::progHelpText();
        return tv::kProgOk;
    }
    struct sigaction stop {};
    stop.sa_handler = requestStop;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);

    if (line.command == "write") return tv::runWrite(line, g_stopRequested);
    if (line.command == "dump") return tv::runDump(line, g_stopRequested);
    return tv::runInit(line, g_stopRequested);
}
