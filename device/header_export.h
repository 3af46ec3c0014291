#pragma once
// "save": the eight channels as a C header fragment <yyyymmdd_hhnn>param.h.
#include <ctime>
#include <string>

#include "device/channel_table.h"
#include "os/file_writer.h"

namespace tv {

// The wall clock, replaceable in tests.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::time_t now() const = 0;
};

class SystemClock : public Clock {
public:
    std::time_t now() const override;
};

// The 41 lines, each ended by CR LF, for the local time `local`.
std::string headerText(const ChannelTable& table, const std::tm& local);

// "<yyyymmdd_hhnn>param.h" for the local time `local`.
std::string headerFileName(const std::tm& local);

// Writes the header into `directory` (joined with the platform's separator, "\"
// on Windows; no trailing one needed) and returns its path. Every step is checked; a failure throws
// tv::InOutError and removes the file it had created or truncated, so no half-written header is
// left behind.
std::string exportHeader(const ChannelTable& table, const std::string& directory,
                         const Clock& clock);
std::string exportHeader(const ChannelTable& table, const std::string& directory,
                         const Clock& clock, FileWriter& writer);

}  // namespace tv
