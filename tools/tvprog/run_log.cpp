#include "tools/tvprog/run_log.h"

#include <cstdio>

#include "os/local_time.h"

namespace tv {

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    return quoted + '"';
}

}  // namespace

std::string isoLocalTime(std::time_t moment) {
    std::tm local{};
    if (localTime(moment, local) != 0) return {};
    // The offset is what the local calendar time reads beyond UTC: the same on
    // every system, where tm_gmtoff is not.
    const int64_t asUtc =
        daysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) * 86400 +
        local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    const int64_t offset = (asUtc - static_cast<int64_t>(moment)) / 60;
    const int64_t magnitude = offset < 0 ? -offset : offset;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, offset < 0 ? '-' : '+',
                  static_cast<int>(magnitude / 60), static_cast<int>(magnitude % 60));
    return text;
}

std::string logLine(const LogRecord& r) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", r.seconds);
    return csvField(isoLocalTime(r.when)) + ',' + csvField(r.port) + ',' +
           csvField(r.serialNumber) + ',' + csvField(r.header) + ',' + csvField(r.headerSha256) +
           ',' + csvField(r.command) + ',' + csvField(r.result) + ',' + std::to_string(r.bytes) +
           ',' + seconds + '\n';
}

int RunLog::open(const std::string& path) {
    std::lock_guard lock(m_mutex);
    return m_file.open(path);
}

int RunLog::append(const LogRecord& record, const std::atomic<bool>& stop) {
    const std::string line = logLine(record);
    std::lock_guard lock(m_mutex);
    return m_file.append(line, &stop);
}

}  // namespace tv
