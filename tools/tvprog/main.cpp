// tvprog: writes a header's eight channels to a Tarvex unit, reads its memory
// back as a header, dumps it or initializes it, over the serial line. See
// progHelpText() for the usage.
#include <atomic>
#include <iostream>

#include "os/binary_output.h"
#include "os/console_output.h"
#include "os/program_arguments.h"
#include "tools/tvprog/port_listing_command.h"
#include "tools/tvprog/prog_command_line.h"
#include "tools/tvprog/prog_commands.h"
#include "tools/tvprog/read_command.h"
#include "tools/tvprog/stop_on_interrupt.h"

int main(int argc, char** argv) {
    tv::useBinaryStandardOutput();
    tv::useConsoleTextOutput();
    // From the first moment, so that Ctrl+C or SIGTERM ends with 6 in every phase.
    static std::atomic<bool> stopRequested{false};
    tv::stopOnInterrupt(stopRequested);
    tv::ProgLine line;
    try {
        line = tv::parseProgLine(tv::programArguments(argc, argv));
    } catch (const tv::ProgUsageError& e) {
        std::cerr << "tvprog: " << e.what()
                  << "\nusage: tvprog write|verify|read|dump|init --port PORT ... | tvprog ports"
                  << "  (tvprog --help for details)\n";
        return tv::kProgUsage;
    }
    if (line.help) {
        std::cout << tv::progHelpText();
        return tv::kProgOk;
    }
    if (line.command == "ports") return tv::runPorts(line.tsv);
    if (line.command == "write") return tv::runWrite(line, stopRequested);
    if (line.command == "verify") return tv::runVerify(line, stopRequested);
    if (line.command == "dump") return tv::runDump(line, stopRequested);
    if (line.command == "read") return tv::runRead(line, stopRequested);
    return tv::runInit(line, stopRequested);
}
