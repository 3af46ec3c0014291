#include "tools/tvprog/prog_command_line.h"

#include <cmath>
#include <cstdlib>

#include "tools/option_value.h"

namespace tv {

namespace {

double parseSeconds(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value) || value < 0 || value > 3600) {
        throw ProgUsageError("--seconds needs a number of seconds from 0 to 3600, not '" + text +
                             "'");
    }
    return value;
}

}  // namespace

ProgLine parseProgLine(const std::vector<std::string>& args) {
    ProgLine line;
    std::vector<std::string> positional;
    bool secondsGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::string name = optionName(arg);
        const auto value = [&]() -> std::string {
            if (auto v = optionValue(args, i)) return *v;
            throw ProgUsageError(name + " needs a value");
        };
        if (arg == "--help" || arg == "-h") {
            line.help = true;
            return line;
        } else if (name == "--port") {
            line.port = value();
        } else if (name == "--seconds") {
            line.seconds = parseSeconds(value());
            secondsGiven = true;
        } else if (arg == "--raw") {
            line.raw = true;
        } else if (arg.starts_with("--")) {
            throw ProgUsageError("unknown option '" + arg + "'");
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty()) throw ProgUsageError("no command: write, dump or init");
    line.command = positional.front();
    if (line.command != "write" && line.command != "dump" && line.command != "init") {
        throw ProgUsageError("unknown command '" + line.command + "': write, dump or init");
    }
    const size_t wanted = line.command == "write" ? 2 : 1;
    if (positional.size() != wanted) {
        throw ProgUsageError(line.command == "write" ? "write takes one HEADER file"
                                                     : line.command + " takes no file");
    }
    if (line.command == "write") line.header = positional[1];
    if (line.port.empty()) throw ProgUsageError("--port PORT is needed (a path or comN)");
    if ((secondsGiven || line.raw) && line.command != "dump") {
        throw ProgUsageError("--seconds and --raw belong to dump");
    }
    return line;
}

std::string progHelpText() {
    return R"(usage: tvprog write --port PORT HEADER
       tvprog dump --port PORT [--seconds S] [--raw]
       tvprog init --port PORT

Talks to a Tarvex unit over its serial line as the configurator's buttons do,
at 9600 bit/s, 8 data bits, 1 stop bit, no parity, DTR and RTS raised while
the port is open. Each byte sent waits for the unit's reply; a unit silent for
2 seconds is given up.

  write HEADER  sends the eight channels of a header written by "save"
                (<yyyymmdd_hhnn>param.h) as "Write" does: W, CR and the
                128-byte channel image, 130 bytes in all. On a terminal a
                progress bar shows the bytes sent and the time taken.
  dump          sends D CR and collects what the unit sends for S seconds
                (default 1), then prints it as "View Buffer" shows it: 17 rows
                of 16 bytes from position 1; with --raw every byte received,
                in order, 16 to a line. Done only when the unit's memory came:
                at least 130 bytes, the echoes of D and CR and 128 bytes of
                memory; otherwise nothing is printed and the count that
                arrived is told (status 5).
  init          sends I CR, waiting for the reply to the I.

Before its first byte each command reads away what the unit is still sending
(until the line has been quiet for a quarter of a second), so that a late
answer to an earlier command does not pass for this one's reply.

  --port PORT   a device path (/dev/ttyUSB0) or comN: com1 is /dev/ttyS0,
                or the device named by the variable TVCONFIG_COM1 when set
  --help, -h    show this text

Exit status:
  0  done
  2  the command line cannot be used
  3  the header cannot be read or is not a header written by "save"
  4  the port would not open (the reason follows)
  5  the unit stopped answering or its line was lost (the byte it stopped
     at follows), or a dump's memory did not come (the count that came)
  6  stopped by SIGINT or SIGTERM
)";
}

}  // namespace tv
