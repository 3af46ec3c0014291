#pragma once
// One command on one port, from opening it to closing it: write (and read
// back), verify or init. Several ports run this each on a thread of its own.
#include <atomic>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "device/channel_image.h"
#include "tools/tvprog/prog_command_line.h"

namespace tv {

struct PortJob {
    const ProgLine& line;
    std::string port;
    const ChannelTable& table;  // write, verify
    std::ostream& notes;        // "tvprog: ..." lines, as the window's status notes
    // After every byte sent, with the count sent so far and the write's whole count.
    std::function<void(int32_t sent, int32_t total)> progress;
    const std::atomic<bool>& stopRequested;
};

struct PortOutcome {
    int status = kProgOk;
    // For the log: "ok", "verify failed", "no reply at byte N", "line lost at byte N",
    // "port would not open", "interrupted".
    std::string result;
    // One line on how it ended: what was done, or what went wrong.
    std::string line;
    // What a finished command prints on standard output, line by line.
    std::string report;
    int32_t bytes = 0;        // sent to the unit
    double seconds = 0;       // from the first byte sent to the end of the command
    double writeSeconds = 0;  // a write's 130 bytes, from the W to its last reply
};

PortOutcome runOnPort(const PortJob& job);

// "com1 (/dev/ttyS0)" ("com1 (\\.\COM1)" on Windows), or the path as given.
std::string portText(const std::string& port);

}  // namespace tv
