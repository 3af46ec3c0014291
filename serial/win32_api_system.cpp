// The system's Win32 functions as the serial backend's call table, and the
// backend as this platform's SerialOs.
#include <memory>

#include "serial/serial_os_win32.h"
#include "serial/win32_api.h"

namespace tv {

const Win32Api& systemWin32Api() {
    static const Win32Api api{
        &::CreateFileA,
        &::GetFileType,  // a file, a pipe or a device: what was opened
        &::SetupComm,
        &::GetCommState,
        &::SetCommState,
        &::SetCommTimeouts,
        &::SetCommMask,
        &::WaitCommEvent,
        &::ClearCommError,
        &::PurgeComm,
        &::EscapeCommFunction,
        &::ReadFile,
        &::WriteFile,
        &::GetOverlappedResult,
        &::CancelIoEx,
        &::GetLastError,
        &::CreateEventA,
        &::ResetEvent,
        &::SetEvent,
        &::WaitForSingleObject,
        &::WaitForMultipleObjects,
        &::CloseHandle,
    };
    return api;
}

std::unique_ptr<SerialOs> makePlatformSerialOs() {
    return std::make_unique<Win32SerialOs>(systemWin32Api());
}

}  // namespace tv
