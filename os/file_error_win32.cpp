#include <windows.h>

#include "os/file_error.h"

namespace tv {

InOutError fileError(int systemCode) {
    switch (systemCode) {
        // The system's own codes 2 to 5 are the neutral codes themselves.
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_TOO_MANY_OPEN_FILES:
        case ERROR_ACCESS_DENIED:
            return inOutError(systemCode);
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_DIRECTORY:
            return inOutError(3);
        case ERROR_WRITE_PROTECT:
            return inOutError(5);
        default:
            // Numbered: ERROR_DISK_FULL 112, ERROR_SHARING_VIOLATION 32, ...
            return numberedInOutError(systemCode);
    }
}

}  // namespace tv
