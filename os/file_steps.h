#pragma once
// The file steps every file the program writes goes through, the same on every
// system: the streaming writer of the header export (os/file_writer.h) and the
// safe replace of the settings file (os/safe_replace.h) are sequences of these.
// file_steps_posix.cpp and file_steps_win32.cpp hold them, one system each. Paths
// are UTF-8. Each step that can fail returns 0 or the system's code of its failure
// (errno; GetLastError() on Windows), for fileError().
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

// A file opened by createFile or createExclusive: a descriptor on POSIX, a HANDLE
// on Windows, carried as a number so that no caller includes a system header.
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;  // -1 is INVALID_HANDLE_VALUE too

// The code createExclusive returns for a name that is taken (EEXIST,
// ERROR_FILE_EXISTS).
extern const int kNameTaken;
// The code of a step on a file that is not open (EBADF, ERROR_INVALID_HANDLE).
extern const int kNotOpen;
// The most digits a process id of this system has in a temporary file's name.
extern const size_t kProcessIdDigits;

// Creates `path`, or truncates the file there, for writing; the umask or the
// folder decides what a new file may do. Others may read it meanwhile.
int createFile(const std::string& path, FileHandle& file);
// Creates `path` only if nothing has that name yet (kNameTaken otherwise). The
// new file takes over what the system lets it keep of `like`, when `like` exists:
// its permission bits (best effort), or its hidden, system, archive and
// not-indexed attributes, written through the system's cache.
int createExclusive(const std::string& path, const std::string& like, FileHandle& file);
// Writes all of `bytes`, going on after short writes and interruptions. A write
// that makes no progress fails: a partial file is never reported as written.
int writeAll(FileHandle file, std::string_view bytes);
// Puts what was written down on the disk. A full disk may first show here.
int syncFile(FileHandle file);
// True for a syncFile code that says the file has nothing to put on a disk (a
// device such as /dev/null or NUL, a file system without the call): nothing lost.
bool cannotSync(int code);
// Closes the file; never retried.
int closeFile(FileHandle file);
// Removes a file, never a folder; best effort, after a failure.
void removeFile(const std::string& path);

// The file a replace of `path` really replaces: a symbolic link's target, so
// that the link stays a link; `path` itself otherwise.
int resolveTarget(const std::string& path, std::string& target);
// 0 when `target` may be replaced: it is missing, or this process may write to
// it. A read-only file (no write permission bit, whoever runs the program; the
// read-only attribute on Windows) is refused, and so is one this process may not
// write, before anything is written beside it.
int mayReplace(const std::string& target);
// Puts `from` in the place of `to` in one step: the old or the new file is there,
// never neither. On Windows the old file's attributes and security stay.
int renameOver(const std::string& from, const std::string& to);
// Makes a rename in the folder of `path` durable where the system needs a step
// for it; best effort: the new file is in place already.
void syncFolderOf(const std::string& path);

// The last component of `path`, and the path of `name` in the same folder.
std::string fileNameOf(const std::string& path);
std::string siblingPath(const std::string& path, const std::string& name);
// The names in the folder of `path` that begin with `prefix`; empty when the
// folder cannot be read.
std::vector<std::string> listFolderOf(const std::string& path, std::string_view prefix);

std::uint64_t currentProcessId();
// True only when no process with id `pid` runs any more. A process this one may
// not ask about (another user's) and an id beyond the system's are taken to run.
bool processEnded(std::uint64_t pid);

}  // namespace tv
