#include <cerrno>

#include "os/file_error.h"

namespace tv {

InOutError fileError(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
            return inOutError(2);
        case ENOTDIR:
        case ENAMETOOLONG:
        case EINVAL:
            return inOutError(3);
        case EMFILE:
        case ENFILE:
            return inOutError(4);
        case EACCES:
        case EPERM:
        case EROFS:
            return inOutError(5);
        default:
            // Numbered, also where the number is one of the neutral codes
            // (EIO is 5 but no refused access).
            return numberedInOutError(errnoValue);
    }
}

}  // namespace tv
