#pragma once
// The pseudo-terminal the unit plays on, the --link to it, and the stop
// signals as a descriptor the event loop can poll.
#include <optional>
#include <string>

namespace tv {

struct UnitTerminal {
    int master = -1;
    int slave = -1;  // held open for the whole run, see openUnitTerminal()
    std::string slavePath;
};

// Blocks SIGTERM and SIGINT and returns a descriptor that reads them, or -1.
int openStopSignals();
// A raw terminal with a non-blocking master; nullopt after printing why not.
std::optional<UnitTerminal> openUnitTerminal();
void closeUnitTerminal(const UnitTerminal& terminal);
// Makes `link` a symbolic link to `target`, replacing an old link but nothing
// else; false after printing why not.
bool makeTerminalLink(const std::string& link, const std::string& target);

}  // namespace tv
