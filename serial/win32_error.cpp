#include "serial/win32_error.h"

#include "serial/win32_types.h"

namespace tv {

namespace {

using Kind = SerialError::Kind;

struct ErrorRow {
    DWORD code;
    Kind atOpen;
    Kind inUse;
    const char* text;
};

// ERROR_ACCESS_DENIED at open means another program holds the port; on a port
// in use, like ERROR_BAD_COMMAND and the rest of the last group, it is how the
// driver of a pulled USB adapter answers. Wine answers a terminal whose other
// side has hung up with ERROR_NOT_READY (ClearCommError, WriteFile, the modem
// calls) and ERROR_BROKEN_PIPE (ReadFile).
constexpr ErrorRow kErrors[] = {
    {ERROR_FILE_NOT_FOUND, Kind::NotFound, Kind::NotFound, "no such port"},
    {ERROR_PATH_NOT_FOUND, Kind::NotFound, Kind::NotFound, "no such port"},
    {ERROR_SHARING_VIOLATION, Kind::Busy, Kind::Busy, "the port is in use by another program"},
    {ERROR_INVALID_PARAMETER, Kind::Refused, Kind::Refused, "the port refused the setting"},
    {ERROR_NOT_SUPPORTED, Kind::Refused, Kind::Refused, "the port does not support this"},
    {WAIT_TIMEOUT, Kind::TimedOut, Kind::TimedOut, "timed out"},
    {ERROR_OPERATION_ABORTED, Kind::TimedOut, Kind::TimedOut, "the transfer was cancelled"},
    {ERROR_ACCESS_DENIED, Kind::Busy, Kind::HungUp, "the port is in use or was removed"},
    {ERROR_BAD_COMMAND, Kind::Other, Kind::HungUp, "the port was removed"},
    {ERROR_GEN_FAILURE, Kind::Other, Kind::HungUp, "the port was removed"},
    {ERROR_DEVICE_NOT_CONNECTED, Kind::NotFound, Kind::HungUp, "the port was removed"},
    {ERROR_DEVICE_REMOVED, Kind::NotFound, Kind::HungUp, "the port was removed"},
    {ERROR_NOT_READY, Kind::Other, Kind::HungUp, "the port is not ready or its line was hung up"},
    {ERROR_BROKEN_PIPE, Kind::Other, Kind::HungUp, "the line was hung up"},
};

}  // namespace

SerialError errorFromWin32(uint32_t code, Win32Stage stage) {
    if (code == 0) return {};
    for (const ErrorRow& row : kErrors) {
        if (row.code == code) {
            return SerialError{
                stage == Win32Stage::Open ? row.atOpen : row.inUse, static_cast<int>(code),
                std::string(row.text) + " (Windows error " + std::to_string(code) + ")"};
        }
    }
    return SerialError{Kind::Other, static_cast<int>(code),
                       "Windows error " + std::to_string(code)};
}

}  // namespace tv
