#include <windows.h>

#include <atomic>
#include <cerrno>
#include <climits>

#include "os/file_steps_win32.h"
#include "profile/file_replace.h"
#include "profile/temporary_name.h"

namespace tv {

namespace {

int lastError() { return static_cast<int>(::GetLastError()); }

// The file that is really to be replaced: a symbolic link's target, so that the
// link stays a link.
int resolveTarget(const std::string& path, std::string& target) {
    target = path;
    const std::wstring wide = wideText(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return 0;
    }
    const HANDLE file =
        ::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return lastError();
    }
    wchar_t resolved[MAX_PATH * 4];
    const DWORD length = ::GetFinalPathNameByHandleW(file, resolved, MAX_PATH * 4, 0);
    const int err = length == 0 || length >= MAX_PATH * 4 ? lastError() : 0;
    ::CloseHandle(file);
    if (err == 0) {
        target = utf8Text(std::wstring_view(resolved, length));
    }
    return err;
}

// Both separators count: the program joins with "\", the operator may type "/".
size_t lastSeparator(const std::string& path) { return path.find_last_of("\\/"); }

std::string directoryOf(const std::string& path) {
    const size_t separator = lastSeparator(path);
    return separator == std::string::npos ? "." : path.substr(0, separator + 1);
}

std::string fileNameOf(const std::string& path) {
    const size_t separator = lastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

// A process that no longer runs: no process has the id any more, or the one that
// had it has ended and only a handle to it remains. A process that cannot be
// opened for another reason (another user's) is taken to be running.
bool hasEnded(DWORD pid) {
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) {
        return ::GetLastError() == ERROR_INVALID_PARAMETER;
    }
    DWORD exitCode = 0;
    const bool ended = ::GetExitCodeProcess(process, &exitCode) && exitCode != STILL_ACTIVE;
    ::CloseHandle(process);
    return ended;
}

// Removes the temporary files that a save of `target` in a process that has died
// since (a crash, a forced end, a power cut) left behind. Files of running
// processes, of this one, and of any other name are left alone; a failure changes
// nothing.
void removeOrphanedTemporaries(const std::string& target) {
    const std::string directory = directoryOf(target);
    const std::string prefix = temporaryPrefix(fileNameOf(target));
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(wideText(directory + prefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string name = utf8Text(found.cFileName);
        // Ten digits hold every 32-bit process id.
        const std::uint64_t owner = temporaryOwner(name, prefix, 10);
        if (owner > 0 && owner <= UINT32_MAX && owner != ::GetCurrentProcessId() &&
            hasEnded(static_cast<DWORD>(owner))) {
            ::DeleteFileW(wideText(directory + name).c_str());
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

// The attributes the new file takes over from the old one: hidden, system,
// archive, not indexed. Read-only is not one of them: such a file is not the
// program's to replace, and replaceFile refuses it.
DWORD attributesToKeep(const std::string& target) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD attributes = ::GetFileAttributesW(wideText(target).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kKept) == 0) {
        return FILE_ATTRIBUTE_NORMAL;
    }
    return attributes & kKept;
}

// Creates a fresh temporary file beside `target`, writing through the system's
// cache. CREATE_NEW makes a name already taken (a leftover of a crash, another
// program) fail instead of being reused.
int createTemporary(const std::string& target, std::string& temporary, HANDLE& file) {
    static std::atomic<unsigned> counter{0};
    const std::string stem = directoryOf(target) + temporaryPrefix(fileNameOf(target)) +
                             std::to_string(::GetCurrentProcessId()) + ".";
    const DWORD attributes = attributesToKeep(target) | FILE_FLAG_WRITE_THROUGH;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = stem + std::to_string(counter++) + ".tmp";
        file = ::CreateFileW(wideText(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             attributes, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            return 0;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) {
            return lastError();
        }
    }
    return ERROR_FILE_EXISTS;
}

// Puts the temporary file in the target's place in one step. ReplaceFileW keeps
// what the old file carried (attributes, security, creation time); a target that
// does not exist yet is made by a write-through move.
int moveIntoPlace(const std::string& temporary, const std::string& target) {
    const std::wstring from = wideText(temporary);
    const std::wstring to = wideText(target);
    if (::GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return ::ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                              nullptr, nullptr)
                   ? 0
                   : lastError();
    }
    return ::MoveFileExW(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : lastError();
}

}  // namespace

int readWholeFile(const std::string& path, std::string& content) {
    content.clear();
    // Shared for writing and deleting too: another program holding the file open
    // must not keep the settings from being read.
    const HANDLE file = ::CreateFileW(wideText(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const int err = lastError();
        // A missing file or a missing directory: the same "no settings yet".
        return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ? ENOENT : err;
    }
    int err = 0;
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        err = ERROR_INVALID_FUNCTION;  // a device or a pipe: no settings to read there
    }
    char chunk[65536];
    while (err == 0) {
        DWORD n = 0;
        if (!::ReadFile(file, chunk, sizeof chunk, &n, nullptr)) {
            err = lastError();
        } else if (n == 0) {
            break;
        } else {
            content.append(chunk, n);
        }
    }
    ::CloseHandle(file);  // opened for reading only: nothing to lose at close
    return err;
}

int replaceFile(const std::string& path, std::string_view content) {
    std::string target;
    if (const int err = resolveTarget(path, target)) {
        return err;
    }
    // A read-only file is refused before anything is written beside it, as the
    // system's own profile functions refuse it (ReplaceFileW would refuse too).
    const DWORD attributes = ::GetFileAttributesW(wideText(target).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return ERROR_ACCESS_DENIED;
    }
    removeOrphanedTemporaries(target);
    std::string temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    if (const int err = createTemporary(target, temporary, file)) {
        return err;
    }
    int err = writeAll(file, content);
    // The data must be on the disk before the replace makes it the settings file.
    if (err == 0 && !::FlushFileBuffers(file)) {
        err = lastError();
    }
    const int closeErr = closeChecked(file);
    if (err == 0) {
        err = closeErr;
    }
    if (err == 0) {
        err = moveIntoPlace(temporary, target);
    }
    if (err != 0) {
        ::DeleteFileW(wideText(temporary).c_str());
    }
    return err;
}

}  // namespace tv
