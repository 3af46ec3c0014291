#include "unit_options.h"

#include <climits>
#include <cstdio>

#include "tools/common/argument_reader.h"
#include "unit_protocol.h"

namespace tv {

namespace {

// The one message the fault counts have always given for a missing or bad value.
constexpr const char* kCountWanted = "a value (a whole number for counts)";

void readOption(ArgumentReader& args, UnitOptions& o) {
    const std::string name = args.name();
    if (args.is("--help")) {
        o.help = true;
    } else if (args.is("--silent")) {
        o.silent = true;
    } else if (args.is("--double")) {
        o.twice = true;
    } else if (name == "--link") {
        o.link = args.text(kCountWanted);
    } else if (name == "--log") {
        o.log = args.text(kCountWanted);
    } else if (name == "--stop-after") {
        o.stopAfter = args.number(0, LONG_MAX, kCountWanted);
    } else if (name == "--hangup-after") {
        o.hangupAfter = args.number(0, LONG_MAX, kCountWanted);
    } else if (name == "--flood") {
        o.flood = args.number(0, LONG_MAX, kCountWanted);
    } else if (name == "--delay") {
        // Milliseconds go to poll() as an int.
        o.delayMs = args.number(0, INT_MAX, kCountWanted);
    } else if (name == "--wire") {
        o.wireBaud = args.number(50, 1000000);
    } else if (name == "--corrupt-byte") {
        o.corruptByte = args.number(0, static_cast<long>(UnitProtocol::kMemorySize) - 1);
    } else {
        throw ArgumentError("unknown option " + args.argument());
    }
}

}  // namespace

std::optional<UnitOptions> parseUnitOptions(int argc, char** argv) {
    UnitOptions o;
    ArgumentReader args(argc, argv);
    try {
        while (args.next()) readOption(args, o);
    } catch (const ArgumentError& e) {
        std::fprintf(stderr, "tvunit: %s; see tvunit --help\n", e.what());
        return std::nullopt;
    }
    return o;
}

const char* const kHelp = R"(Usage: tvunit [options]

Plays a Tarvex unit on a pseudo-terminal. The first line on standard output is
the path of the terminal's slave side; open it (or the --link path) as the
serial port, e.g. TVCONFIG_COM1=<path> for the port "com1".

The unit answers every byte it receives with one byte, an echo of it, and keeps
an eight-channel memory of 128 bytes (zero at start):
  "W" CR, then 128 bytes   stores the 128 bytes as the memory
  "D" CR                   after the echo of the CR, sends the 128 memory bytes
  "I" CR                   clears the memory
It runs until SIGTERM or SIGINT, serves a client that opens the terminal at any
time, and goes on serving when the client closes and reopens it.

Options (a value may also be given as --name=VALUE):
  --link PATH        make PATH a symbolic link to the terminal (replacing an
                     existing link); removed at exit
  --silent           never answer
  --double           answer every byte with two echoes
  --stop-after N     answer the first N bytes received, then fall silent
  --hangup-after N   after answering the Nth byte (and 50 ms for it to be
                     read), close the line and exit
  --flood N          right after the first answer, send N unasked bytes
                     (0x00, 0x01, ... counting up)
  --delay MS         wait MS milliseconds before each answer
  --wire BAUD        pace the line as a serial line at BAUD bit/s (50 to
                     1000000), 10 bits a byte (start, 8 data, stop):
                     - a byte counts as received one character time after it
                       came, or after the previous byte was received if that
                       is later; bytes that come while the unit is sending are
                       taken as coming when it gets to read them
                     - every byte sent (echoes, the dump, the flood) takes one
                       character time, one after the other, and reaches the
                       terminal when that time is over
                     so an echo reaches the client no sooner than two
                     character times after the byte was written (2.08 ms at
                     9600); --delay counts from the byte's reception
  --corrupt-byte K   every memory image stored by "W" keeps its byte K (0 to
                     127) wrong, inverted (XOR 0xFF), while every echo stays
                     right: a later "D" shows the mismatch at K
  --log FILE         write one line per byte received and sent:
                     "<monotonic ns> RX 57" or "<monotonic ns> TX 57" (hex)
  --help             show this text
)";

const char* unitHelpText() { return kHelp; }

}  // namespace tv
