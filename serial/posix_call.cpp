#include "serial/posix_call.h"

#include "os/system_error_text.h"

namespace tv {

SerialError errorFromErrno(int err) {
    using Kind = SerialError::Kind;
    Kind kind = Kind::Other;
    switch (err) {
        case 0:
            kind = Kind::None;
            break;
        case ENOENT:
        case ENODEV:
        case ENOTTY:
            kind = Kind::NotFound;
            break;
        case EBUSY:
        case EWOULDBLOCK:
            kind = Kind::Busy;
            break;  // EWOULDBLOCK: flock held elsewhere
        case EACCES:
        case EPERM:
            kind = Kind::Denied;
            break;
        case EINVAL:
            kind = Kind::Refused;
            break;
        case ETIMEDOUT:
            kind = Kind::TimedOut;
            break;
        case EIO:
        case ENXIO:
        case EPIPE:
            kind = Kind::HungUp;
            break;
        default:
            break;
    }
    return SerialError{kind, err, systemErrorText(err)};
}

}  // namespace tv
