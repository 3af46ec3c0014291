#pragma once
// The Win32 calls of the serial backend, as one table of function pointers.
// The backend makes every system call through this table, so a test can put a
// recording table in its place and check which calls are made, in what order
// and with what arguments; the program uses systemWin32Api().
#include "serial/win32_types.h"

namespace tv {

struct Win32Api {
    HANDLE(WINAPI* CreateFileA)
    (LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
     DWORD flags, HANDLE templateFile);
    DWORD(WINAPI* GetFileType)(HANDLE file);
    BOOL(WINAPI* SetupComm)(HANDLE port, DWORD inQueue, DWORD outQueue);
    BOOL(WINAPI* GetCommState)(HANDLE port, LPDCB dcb);
    BOOL(WINAPI* SetCommState)(HANDLE port, LPDCB dcb);
    BOOL(WINAPI* SetCommTimeouts)(HANDLE port, LPCOMMTIMEOUTS timeouts);
    BOOL(WINAPI* SetCommMask)(HANDLE port, DWORD mask);
    BOOL(WINAPI* WaitCommEvent)(HANDLE port, LPDWORD events, LPOVERLAPPED request);
    BOOL(WINAPI* ClearCommError)(HANDLE port, LPDWORD errors, LPCOMSTAT status);
    BOOL(WINAPI* PurgeComm)(HANDLE port, DWORD flags);
    BOOL(WINAPI* EscapeCommFunction)(HANDLE port, DWORD function);
    BOOL(WINAPI* ReadFile)
    (HANDLE file, LPVOID buffer, DWORD count, LPDWORD done, LPOVERLAPPED request);
    BOOL(WINAPI* WriteFile)
    (HANDLE file, LPCVOID buffer, DWORD count, LPDWORD done, LPOVERLAPPED request);
    BOOL(WINAPI* GetOverlappedResult)(HANDLE file, LPOVERLAPPED request, LPDWORD done, BOOL wait);
    BOOL(WINAPI* CancelIoEx)(HANDLE file, LPOVERLAPPED request);
    DWORD(WINAPI* GetLastError)();
    HANDLE(WINAPI* CreateEventA)
    (LPSECURITY_ATTRIBUTES security, BOOL manualReset, BOOL initialState, LPCSTR name);
    BOOL(WINAPI* ResetEvent)(HANDLE event);
    BOOL(WINAPI* SetEvent)(HANDLE event);
    DWORD(WINAPI* WaitForSingleObject)(HANDLE object, DWORD ms);
    DWORD(WINAPI* WaitForMultipleObjects)
    (DWORD count, const HANDLE* objects, BOOL waitAll, DWORD ms);
    BOOL(WINAPI* CloseHandle)(HANDLE object);
};

#ifdef _WIN32
// The system's own functions.
const Win32Api& systemWin32Api();
#endif

}  // namespace tv
