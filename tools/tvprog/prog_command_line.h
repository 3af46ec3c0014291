#pragma once
// tvprog's arguments and exit codes.
#include <stdexcept>
#include <string>
#include <vector>

namespace tv {

enum ProgExit : int {
    kProgOk = 0,
    kProgUsage = 2,         // the command line cannot be used
    kProgBadHeader = 3,     // the header file cannot be read or is not an export
    kProgPortClosed = 4,    // the port would not open
    kProgNoAnswer = 5,      // the unit stopped answering
    kProgInterrupted = 6,   // SIGINT or SIGTERM during the command
    kProgVerifyFailed = 7,  // the unit does not hold the image written
    kProgLogFailed = 8,     // --log could not be opened or written
};

// The status of a run on several ports: the worst of theirs, in the order
// 6 (stopped: the rest is unknown), 8 (the record is missing), 7 (a unit holds
// wrong words), 5 (a unit did not answer), 4 (a port would not open), 3, 2, 0.
int worstStatus(int a, int b);

struct ProgLine {
    std::string command;             // "write", "verify", "dump", "init" or "ports"
    std::string port;                // the first --port
    std::vector<std::string> ports;  // every --port, in order; one for dump
    std::string header;              // write and verify
    double seconds = 1.0;            // dump and read-back: how long to collect at most
    bool verify = false;             // write: read back and compare afterwards
    std::string log;                 // --log FILE: one CSV line per port and command
    bool raw = false;                // dump only
    bool tsv = false;                // ports only: a table
    bool help = false;
};

class ProgUsageError : public std::runtime_error {
public:
    explicit ProgUsageError(const std::string& message) : std::runtime_error(message) {}
};

ProgLine parseProgLine(const std::vector<std::string>& args);
std::string progHelpText();

}  // namespace tv
