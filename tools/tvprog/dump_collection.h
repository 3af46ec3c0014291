#pragma once
// The steps of a Dump on the command line, shared by dump and read: open the
// port, read away what is still coming, D CR, collect, and read away what the
// unit still sends at the end. Each returns kProgOk or the status to end with,
// having said on standard error what went wrong.
#include <atomic>

#include "tools/tvprog/prog_command_line.h"
#include "tools/tvprog/prog_session.h"

namespace tv {

// kProgInterrupted when a stop was asked for, else kProgNoAnswer; says which.
int dumpStopped(const std::atomic<bool>& stopRequested, const std::string& what);

// Opens the port, reads away what is still coming and sends D CR; kProgOk when
// the unit answered the D.
int openAndDump(ProgSession& session, const ProgLine& line, const std::atomic<bool>& stopRequested);

// Collects the dump's bytes until the line is lost, the time is up or, when
// `untilQuiet`, the replies and a memory's worth have come and the line has gone
// quiet (as the read-back collects).
int collectDump(ProgSession& session, const ProgLine& line, bool untilQuiet,
                const std::atomic<bool>& stopRequested);

// kProgOk when the unit's memory came; else says how many bytes did (5).
int memoryCame(ProgSession& session, const ProgLine& line);

// After the command's own output: what the unit still sends is read away, so
// that the next run does not take it for the reply to its first byte.
int endDump(ProgSession& session, int status, const std::atomic<bool>& stopRequested);

}  // namespace tv
