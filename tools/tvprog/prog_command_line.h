#pragma once
// tvprog's arguments and exit codes.
#include <stdexcept>
#include <string>
#include <vector>

namespace tv {

enum ProgExit : int {
    kProgOk = 0,
    kProgUsage = 2,        // the command line cannot be used
    kProgBadHeader = 3,    // the header file cannot be read or is not an export
    kProgPortClosed = 4,   // the port would not open
    kProgNoAnswer = 5,     // the unit stopped answering
    kProgInterrupted = 6,  // SIGINT or SIGTERM during the command
};

struct ProgLine {
    std::string command;  // "write", "dump", "init" or "ports"
    std::string port;
    std::string header;    // write only
    double seconds = 1.0;  // dump only: how long to collect
    bool raw = false;      // dump only
    bool tsv = false;      // ports only: a table
    bool help = false;
};

class ProgUsageError : public std::runtime_error {
public:
    explicit ProgUsageError(const std::string& message) : std::runtime_error(message) {}
};

ProgLine parseProgLine(const std::vector<std::string>& args);
std::string progHelpText();

}  // namespace tv
