// tvprog: writes a header's eight channels to a Tarvex unit, dumps its memory
// or initializes it, over the serial line. See progHelpText() for the usage.
#include <atomic>
#include <iostream>

#include "os/binary_output.h"
#include "tools/tvprog/port_listing_command.h"
#include "tools/tvprog/prog_command_line.h"
#include "tools/tvprog/prog_commands.h"
#include "tools/tvprog/stop_on_interrupt.h"

int main(int argc, char** argv) {
    tv::useBinaryStandardOutput();
    tv::ProgLine line;
    try {
        line = tv::parseProgLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const tv::ProgUsageError& e) {
        std::cerr << "tvprog: " << e.what()
                  << "\nusage: tvprog write|dump|init --port PORT ... | tvprog ports"
                  << "  (tvprog --help for details)\n";
        return tv::kProgUsage;
    }
    if (line.help) {
        std::cout << tv::progHelpText();
        return tv::kProgOk;
    }
    if (line.command == "ports") return tv::runPorts(line.tsv);
    static std::atomic<bool> stopRequested{false};
    tv::stopOnInterrupt(stopRequested);

    if (line.command == "write") return tv::runWrite(line, stopRequested);
    if (line.command == "dump") return tv::runDump(line, stopRequested);
    return tv::runInit(line, stopRequested);
}
