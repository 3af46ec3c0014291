#include "tools/tvprog/prog_command_line.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tools/common/argument_reader.h"

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

// One "--" option into `line`; true when it was --seconds.
bool readProgOption(ArgumentReader& reader, ProgLine& line) {
    const std::string name = reader.name();
    if (name == "--port") {
        const std::string port = reader.text();
        if (std::find(line.ports.begin(), line.ports.end(), port) != line.ports.end()) {
            throw ProgUsageError("--port " + port + " is given twice");
        }
        line.ports.push_back(port);
    } else if (name == "--log") {
        line.log = reader.text();
        if (line.log.empty()) throw ProgUsageError("--log needs a file name");
    } else if (name == "--seconds") {
        line.seconds = parseSeconds(reader.text());
        return true;
    } else if (reader.is("--verify")) {
        line.verify = true;
    } else if (reader.is("--raw")) {
        line.raw = true;
    } else if (reader.is("--tsv")) {
        line.tsv = true;
    } else {
        throw ProgUsageError("unknown option '" + reader.argument() + "'");
    }
    return false;
}

int severity(int status) {
    switch (status) {
        case kProgInterrupted:
            return 7;
        case kProgLogFailed:
            return 6;
        case kProgVerifyFailed:
            return 5;
        case kProgNoAnswer:
            return 4;
        case kProgPortClosed:
            return 3;
        case kProgBadHeader:
            return 2;
        case kProgOk:
            return 0;
        default:
            return 1;
    }
}

}  // namespace

int worstStatus(int a, int b) { return severity(b) > severity(a) ? b : a; }

ProgLine parseProgLine(const std::vector<std::string>& args) {
    ProgLine line;
    std::vector<std::string> positional;
    bool secondsGiven = false;
    ArgumentReader reader(args);
    try {
        while (reader.next()) {
            if (reader.is("--help") || reader.is("-h")) {
                line.help = true;
                return line;
            } else if (reader.argument().starts_with("--")) {
                if (readProgOption(reader, line)) secondsGiven = true;
            } else {
                positional.push_back(reader.argument());
            }
        }
    } catch (const ArgumentError& e) {
        throw ProgUsageError(e.what());
    }
    if (positional.empty()) {
        throw ProgUsageError("no command: write, verify, read, dump, init or ports");
    }
    line.command = positional.front();
    if (line.command != "write" && line.command != "verify" && line.command != "read" &&
        line.command != "dump" && line.command != "init" && line.command != "ports") {
        throw ProgUsageError("unknown command '" + line.command +
                             "': write, verify, read, dump, init or ports");
    }
    if (line.tsv && line.command != "ports") throw ProgUsageError("--tsv belongs to ports");
    if (line.command == "ports") {
        if (positional.size() != 1) throw ProgUsageError("ports takes no file");
        if (!line.ports.empty() || secondsGiven || line.raw || !line.log.empty() || line.verify) {
            throw ProgUsageError("ports takes no --port, --seconds, --raw, --verify or --log");
        }
        return line;
    }
    const bool takesHeader = line.command == "write" || line.command == "verify";
    const bool read = line.command == "read";
    if (read) {
        // OUT is optional: without it the header goes to standard output.
        if (positional.size() > 2) throw ProgUsageError("read takes at most one OUT file");
        if (positional.size() == 2) line.header = positional[1];
    } else if (positional.size() != (takesHeader ? 2u : 1u)) {
        throw ProgUsageError(takesHeader ? line.command + " takes one HEADER file"
                                         : line.command + " takes no file");
    }
    if (takesHeader) line.header = positional[1];
    if (line.ports.empty()) throw ProgUsageError("--port PORT is needed (a path or comN)");
    line.port = line.ports.front();
    const bool dump = line.command == "dump";
    const bool readsBack = dump || read || line.command == "verify" || line.verify;
    if ((line.raw && !dump) || (secondsGiven && !readsBack)) {
        throw ProgUsageError(
            "--raw and --seconds belong to dump (--seconds also to verify and write --verify, "
            "and to read)");
    }
    if (line.verify && line.command != "write") {
        throw ProgUsageError("--verify belongs to write (verify alone compares without writing)");
    }
    if ((dump || read) && line.ports.size() > 1) {
        throw ProgUsageError(line.command + " takes one --port");
    }
    if (dump && !line.log.empty()) {
        throw ProgUsageError("--log belongs to write, verify, read and init");
    }
    return line;
}

std::string progHelpText() {
    return R"(usage: tvprog write --port PORT [--port PORT ...] [--verify] [--log FILE] HEADER
       tvprog verify --port PORT [--port PORT ...] [--seconds S] [--log FILE] HEADER
       tvprog read --port PORT [--seconds S] [--log FILE] [OUT]
       tvprog dump --port PORT [--seconds S] [--raw]
       tvprog init --port PORT [--port PORT ...] [--log FILE]
       tvprog ports [--tsv]

Talks to a Tarvex unit over its serial line as the configurator's buttons do,
at 9600 bit/s, 8 data bits, 1 stop bit, no parity, DTR and RTS raised while
the port is open. Each byte sent waits for the unit's reply; a unit silent for
2 seconds is given up.

  write HEADER  sends the eight channels of a header written by "save"
                (<yyyymmdd_hhnn>param.h) as "Write" does: W, CR and the
                128-byte channel image, 130 bytes in all. On a terminal a
                progress bar shows the bytes sent and the time taken; the line
                "wrote 130 of 130 bytes to PORT in T s" times the W to the last
                reply. Replies slower than 8 ms each (a USB adapter's latency
                timer) add a line on how to set that timer to 1 ms. With
                --verify, a read-back follows (see verify).
  verify HEADER sends D CR and looks for the header's 128-byte image in what
                the unit sends back, at whatever place its reply puts it (the
                unit is assumed to send its memory, as it holds it, somewhere
                after its replies to D and CR). Collects until the image shows,
                or once 128 bytes have come and the line has gone quiet (see
                below), or after S seconds (default 1). Tells
                "The unit holds the channels last written." or names the first
                channel and word that differ where most bytes line up, with
                what was written and what the unit holds (status 7).
  read [OUT]    sends D CR, collects the unit's memory as verify does (until
                130 bytes have come, the echoes of D and CR and 128 bytes of
                memory, and the line is quiet, or after S seconds, default
                1), and writes it as "save" writes a header: the date line,
                per channel the description "read from PORT" (and the USB
                serial number where known) and its four words. OUT is written
                whole or not at all; without OUT the header goes to standard
                output. tvprog write of that file sends the image the unit
                gave. The memory is taken as the last 128 bytes the unit sent.
                A memory that did not come writes nothing and tells the count
                that came (status 5).
  dump          sends D CR and collects what the unit sends for S seconds
                (default 1), then prints it as "View Buffer" shows it: 17 rows
                of 16 bytes from position 1; with --raw every byte received,
                in order, 16 to a line. Done only when the unit's memory came:
                at least 130 bytes, the echoes of D and CR and 128 bytes of
                memory; otherwise nothing is printed and the count that
                arrived is told (status 5).
  init          sends I CR, waiting for the reply to the I.
  ports         lists the serial ports on this machine that the window
                offers beyond com1 to com12, a port a line: the name to give
                --port, the device, the description, the maker, VID:PID and
                the USB serial number; with --tsv a table with a header row.

Before its first byte and after its last each command reads away what the
unit is still sending, until the line has been quiet for eight character times
(8.3 ms at 9600 bit/s) and the longest the unit took to reply in this run, so
that a late answer to an earlier command does not pass for this one's reply.

Several ports (write, verify, init): given --port more than once, the command
runs on all of them at once, a thread per port. On a terminal each port has a
line redrawn in place; otherwise each port prints one line as it ends,
"PORT: ok: ..." or "PORT: <result>: <what went wrong>", and the notes follow,
each prefixed by its port. Ctrl+C stops them all. The exit status is the worst
of the ports', in the order 6, 8, 7, 5, 4 (then 3, 2, 0).

  --port PORT   a device path (/dev/ttyUSB0, a /dev/serial/by-id link as
                ports prints it) or comN: com1 is /dev/ttyS0, or the device
                named by the variable TVCONFIG_COM1 when set; on Windows
                com1 to com999 are COM1 to COM999
  --log FILE    appends one CSV line per port and command to FILE (created
                if missing, never rewritten): local time with its UTC offset,
                port, the port's USB serial number (empty where unknown),
                header file, its SHA-256, command, result (ok, verify failed,
                no reply at byte N, line lost at byte N, port would not open,
                interrupted), bytes sent, seconds. The SHA-256 is of the same
                bytes, read once, that the channels came from; for read, the
                file written (empty for standard output), the SHA-256 of what
                was written, the command read and the result (ok, memory did
                not come: N of 130 bytes, ...). A log that
                cannot be opened stops the run before any unit is touched;
                a FIFO nobody reads is refused so, never waited for. A
                symbolic link is appended to through the link, as >> does.
  --help, -h    show this text

Exit status:
  0  done (for ports also when it found none)
  2  the command line cannot be used
  3  the header cannot be read or is not a header written by "save"; for
     read: OUT could not be written (nothing was)
  4  the port would not open (the reason follows)
  5  the unit stopped answering or its line was lost (the byte it stopped
     at follows), or a dump's or read's memory did not come (the count that
     came)
  6  stopped by SIGINT or SIGTERM
  7  the unit does not hold the image written (the first difference follows)
  8  the log could not be opened or written (the reason follows)
)";
}

}  // namespace tv
