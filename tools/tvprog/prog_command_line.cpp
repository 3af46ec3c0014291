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
        } else if (arg == "--tsv") {
            line.tsv = true;
        } else if (arg.starts_with("--")) {
            throw ProgUsageError("unknown option '" + arg + "'");
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty()) throw ProgUsageError("no command: write, dump, init or ports");
    line.command = positional.front();
    if (line.command != "write" && line.command != "dump" && line.command != "init" &&
        line.command != "ports") {
        throw ProgUsageError("unknown command '" + line.command + "': write, dump, init or ports");
    }
    if (line.tsv && line.command != "ports") throw ProgUsageError("--tsv belongs to ports");
    if (line.command == "ports") {
        if (positional.size() != 1) throw ProgUsageError("ports takes no file");
        if (!line.port.empty() || secondsGiven || line.raw) {
            throw ProgUsageError("ports takes no --port, --seconds or --raw");
        }
        return line;
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
       tvprog ports [--tsv]

Talks to a Tarvex unit over its serial line as the configurator's buttons do,
at 9600 bit/s, 8 data bits, 1 stop bit, no parity, DTR and RTS raised while
the port is open. Each byte sent waits for the unit's reply; a unit silent for
2 seconds is given up.

  write HEADER  sends the eight channels of a header written by "save"
                (<yyyymmdd_hhnn>param.h) as "Write" does: W, CR and the
                128-byte channel image, 130 bytes in all. On a terminal a
                progress bar shows the bytes sent and the time taken. Replies
                slower than 8 ms each (a USB adapter's latency timer) add a
                line on how to set that timer to 1 ms.
  dump          sends D CR and collects what the unit sends for S seconds
                (default 1), then prints it as "View Buffer" shows it: 17 rows
                of 16 bytes from position 1; with --raw every byte received,
                in order, 16 to a line.
  init          sends I CR, waiting for the reply to the I.
  ports         lists the serial ports on this machine that the window
                offers beyond com1 to com12, a port a line: the name to give
                --port, the device, the description, the maker, VID:PID and
                the USB serial number; with --tsv a table with a header row.

  --port PORT   a device path (/dev/ttyUSB0, a /dev/serial/by-id link as
                ports prints it) or comN: com1 is /dev/ttyS0, or the device
                named by the variable TVCONFIG_COM1 when set; on Windows
                com1 to com999 are COM1 to COM999
  --help, -h    show this text

Exit status:
  0  done (for ports also when it found none)
  2  the command line cannot be used
  3  the header cannot be read or is not a header written by "save"
  4  the port would not open (the reason follows)
  5  the unit stopped answering (the byte it stopped at follows)
  6  stopped by SIGINT or SIGTERM
)";
}

}  // namespace tv
