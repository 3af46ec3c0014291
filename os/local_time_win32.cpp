#include <windows.h>

#include "os/local_time.h"

namespace tv {

int localTime(std::time_t moment, std::tm& local) {
    // localtime_s refuses moments before 1970 and after 3000 with EINVAL.
    return localtime_s(&local, &moment) != 0 ? ERROR_ARITHMETIC_OVERFLOW : 0;
}

}  // namespace tv
