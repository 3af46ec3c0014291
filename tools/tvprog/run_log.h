#pragma once
// tvprog's production log: one CSV line per port and command, appended to a
// file that is never rewritten. Lines from the ports' threads never interleave.
#include <atomic>
#include <cstdint>
#include <ctime>
#include <mutex>
#include <string>

#include "os/append_file.h"

namespace tv {

struct LogRecord {
    std::time_t when = 0;  // when the command ended on this port
    std::string port;
    std::string serialNumber;  // the port's USB serial number; empty when unknown
    std::string header;        // the header file as named on the command line; empty for init
    std::string headerSha256;  // 64 lowercase hexadecimal digits; empty for init
    std::string command;       // "write", "write --verify", "verify", "init"
    std::string result;        // "ok", "verify failed", "no reply at byte N", ...
    int32_t bytes = 0;
    double seconds = 0;
};

// "2026-12-09T15:53:24+01:00": the local time with its offset from UTC.
std::string isoLocalTime(std::time_t moment);

// time,port,serial,header,sha256,command,result,bytes,seconds and a line feed; a
// field with a comma, a quote or a line end is quoted, its quotes doubled.
std::string logLine(const LogRecord& record);

class RunLog {
public:
    // 0 or the system's code of the failure (systemErrorText() words it).
    int open(const std::string& path);
    // Appends the record's line; 0 or the system's code of the failure. A log
    // that cannot take the line (a FIFO whose reader has stopped reading) is
    // waited for until `stop` is raised (appendWasStopped() then tells).
    int append(const LogRecord& record, const std::atomic<bool>& stop);

private:
    std::mutex m_mutex;
    AppendFile m_file;
};

}  // namespace tv
