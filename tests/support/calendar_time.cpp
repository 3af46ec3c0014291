#include "tests/support/calendar_time.h"

namespace tv::test {

std::tm calendarTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

std::time_t localTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t = calendarTime(year, month, day, hour, minute, second);
    t.tm_isdst = -1;  // let the zone's rules decide, as a clock reading would
    return std::mktime(&t);
}

}  // namespace tv::test
