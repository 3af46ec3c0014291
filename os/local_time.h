#pragma once
// The local date and time of a moment, with the system's time zone.
#include <ctime>

namespace tv {

// Fills `local`; 0, or the system's code for a moment that has no local time
// (a clock far outside the calendar), for fileError().
int localTime(std::time_t moment, std::tm& local);

}  // namespace tv
