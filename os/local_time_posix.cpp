#include <cerrno>

#include "os/local_time.h"

namespace tv {

int localTime(std::time_t moment, std::tm& local) {
    return localtime_r(&moment, &local) == nullptr ? EOVERFLOW : 0;
}

}  // namespace tv
