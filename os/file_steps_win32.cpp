#include "os/file_steps_win32.h"

#include <algorithm>
#include <cerrno>
#include <climits>

#include "os/file_steps.h"
#include "os/safe_replace.h"

namespace tv {

std::wstring wideText(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(std::min<size_t>(utf8.size(), INT_MAX));
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string utf8Text(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(std::min<size_t>(wide.size(), INT_MAX));
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

int writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        // WriteFile takes a 32-bit count; larger contents go in pieces.
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            return static_cast<int>(::GetLastError());  // ERROR_DISK_FULL, after what fitted
        }
        if (written == 0) return ERROR_WRITE_FAULT;
        bytes.remove_prefix(written);
    }
    return 0;
}

int closeChecked(HANDLE file) {
    return ::CloseHandle(file) ? 0 : static_cast<int>(::GetLastError());
}

// The steps of os/file_steps.h. A FileHandle is a HANDLE here.

const int kNameTaken = ERROR_FILE_EXISTS;
const int kNotOpen = ERROR_INVALID_HANDLE;
// Ten digits hold every 32-bit process id.
const size_t kProcessIdDigits = 10;

namespace {

int lastError() { return static_cast<int>(::GetLastError()); }

HANDLE handleOf(FileHandle file) { return reinterpret_cast<HANDLE>(file); }
FileHandle fileHandle(HANDLE handle) { return reinterpret_cast<FileHandle>(handle); }

// Both separators count: the program joins with "\", the operator may type "/".
size_t lastSeparator(const std::string& path) { return path.find_last_of("\\/"); }

// The folder part of `path` with its separator, or nothing for a bare name.
std::string folderPrefixOf(const std::string& path) {
    const size_t separator = lastSeparator(path);
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// The attributes a replacing file takes over from the old one: hidden, system,
// archive, not indexed. Read-only is not one of them: such a file is not the
// program's to replace, and mayReplace refuses it.
DWORD attributesToKeep(const std::string& like) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD attributes = ::GetFileAttributesW(wideText(like).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kKept) == 0) {
        return FILE_ATTRIBUTE_NORMAL;
    }
    return attributes & kKept;
}

}  // namespace

int createFile(const std::string& path, FileHandle& file) {
    // Others may read the file while it is written (an editor, a viewer), not
    // write it; CREATE_ALWAYS truncates a file of the same name.
    const HANDLE handle = ::CreateFileW(wideText(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    file = fileHandle(handle);
    return handle == INVALID_HANDLE_VALUE ? lastError() : 0;
}

int createExclusive(const std::string& path, const std::string& like, FileHandle& file) {
    // Written through the system's cache; CREATE_NEW makes a name already taken
    // (a leftover of a crash, another program) fail instead of being reused.
    const HANDLE handle =
        ::CreateFileW(wideText(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      attributesToKeep(like) | FILE_FLAG_WRITE_THROUGH, nullptr);
    file = fileHandle(handle);
    return handle == INVALID_HANDLE_VALUE ? lastError() : 0;
}

int writeAll(FileHandle file, std::string_view bytes) { return writeAll(handleOf(file), bytes); }

int syncFile(FileHandle file) { return ::FlushFileBuffers(handleOf(file)) ? 0 : lastError(); }

bool cannotSync(int code) { return code == ERROR_INVALID_FUNCTION || code == ERROR_INVALID_HANDLE; }

int closeFile(FileHandle file) { return closeChecked(handleOf(file)); }

void removeFile(const std::string& path) { ::DeleteFileW(wideText(path).c_str()); }

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

int mayReplace(const std::string& target) {
    // A read-only file is refused before anything is written beside it, as the
    // system's own profile functions refuse it (ReplaceFileW would refuse too).
    const DWORD attributes = ::GetFileAttributesW(wideText(target).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return ERROR_ACCESS_DENIED;
    }
    return 0;
}

int renameOver(const std::string& from, const std::string& to) {
    // ReplaceFileW keeps what the old file carried (attributes, security, creation
    // time); a file that does not exist yet is made by a write-through move.
    const std::wstring wideFrom = wideText(from);
    const std::wstring wideTo = wideText(to);
    if (::GetFileAttributesW(wideTo.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return ::ReplaceFileW(wideTo.c_str(), wideFrom.c_str(), nullptr,
                              REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                   ? 0
                   : lastError();
    }
    return ::MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : lastError();
}

// The write-through move and ReplaceFileW leave nothing to synchronise.
void syncFolderOf(const std::string&) {}

std::string fileNameOf(const std::string& path) { return path.substr(folderPrefixOf(path).size()); }

std::string siblingPath(const std::string& path, const std::string& name) {
    return folderPrefixOf(path) + name;
}

std::vector<std::string> listFolderOf(const std::string& path, std::string_view prefix) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search =
        ::FindFirstFileW(wideText(siblingPath(path, std::string(prefix) + "*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        names.push_back(utf8Text(found.cFileName));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

std::uint64_t currentProcessId() { return ::GetCurrentProcessId(); }

bool processEnded(std::uint64_t pid) {
    if (pid > UINT32_MAX) return false;
    // No process has the id any more, or the one that had it has ended and only a
    // handle to it remains. A process that cannot be opened for another reason
    // (another user's) is taken to be running.
    const HANDLE process =
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr) {
        return ::GetLastError() == ERROR_INVALID_PARAMETER;
    }
    DWORD exitCode = 0;
    const bool ended = ::GetExitCodeProcess(process, &exitCode) && exitCode != STILL_ACTIVE;
    ::CloseHandle(process);
    return ended;
}

int readWholeFile(const std::string& path, std::string& content, std::string* notRegular) {
    content.clear();
    // Shared for writing and deleting too: another program holding the file open
    // must not keep it from being read.
    const HANDLE file = ::CreateFileW(wideText(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const int err = lastError();
        // A missing file or a missing directory: the same "no file yet".
        return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ? ENOENT : err;
    }
    int err = 0;
    if (const DWORD type = ::GetFileType(file); type != FILE_TYPE_DISK) {
        err = ERROR_INVALID_FUNCTION;  // a device or a pipe: nothing to read there
        if (notRegular != nullptr) {
            *notRegular = type == FILE_TYPE_PIPE ? "a pipe, not a regular file"
                                                 : "a device, not a regular file";
        }
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

}  // namespace tv
