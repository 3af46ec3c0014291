#pragma once
// Dates and times written as a calendar shows them, for tests of what the
// program makes of the clock.
#include <ctime>

namespace tv::test {

// The broken-down time of that date and time (month 1 to 12), daylight saving
// time not in effect.
std::tm calendarTime(int year, int month, int day, int hour, int minute, int second);

// The moment that date and time names in the local time zone, whichever
// daylight saving time is in effect then.
std::time_t localTime(int year, int month, int day, int hour, int minute, int second);

}  // namespace tv::test
