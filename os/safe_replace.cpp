// The safe replace, one sequence for every system over the steps of
// os/file_steps.h: what differs between the systems is in the steps, not here.
#include "os/safe_replace.h"

#include <atomic>

#include "os/file_steps.h"
#include "os/temporary_name.h"

namespace tv {

namespace {

// Removes the temporary files that a replace of `target` in a process that has
// died since (a crash, a forced end, a power cut) left behind. Files of running
// processes, of this one, and of any other name are left alone; a failure changes
// nothing.
void removeDeadTemporaries(const std::string& target) {
    const std::string prefix = temporaryPrefix(fileNameOf(target));
    for (const std::string& name : listFolderOf(target, prefix)) {
        const std::uint64_t owner = temporaryOwner(name, prefix, kProcessIdDigits);
        if (owner > 0 && owner != currentProcessId() && processEnded(owner)) {
            removeFile(siblingPath(target, name));
        }
    }
}

// Creates a fresh temporary file beside `target`. A name already taken (a
// leftover of a crash, another program) is never reused: the next number is
// tried.
int createTemporary(const std::string& target, std::string& temporary, FileHandle& file) {
    static std::atomic<unsigned> counter{0};
    const std::string prefix = temporaryPrefix(fileNameOf(target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = siblingPath(target, temporaryName(prefix, currentProcessId(), counter++));
        const int err = createExclusive(temporary, target, file);
        if (err != kNameTaken) {
            return err;
        }
    }
    return kNameTaken;
}

}  // namespace

int replaceFile(const std::string& path, std::string_view content) {
    std::string target;
    if (const int err = resolveTarget(path, target)) {
        return err;
    }
    if (const int err = mayReplace(target)) {
        return err;
    }
    removeDeadTemporaries(target);
    std::string temporary;
    FileHandle file = kNoFile;
    if (const int err = createTemporary(target, temporary, file)) {
        return err;
    }
    int err = writeAll(file, content);
    // The data must be on the disk before the rename makes it the file.
    if (err == 0) {
        err = syncFile(file);
    }
    const int closeErr = closeFile(file);
    if (err == 0) {
        err = closeErr;
    }
    if (err == 0) {
        err = renameOver(temporary, target);
    }
    if (err != 0) {
        removeFile(temporary);
        return err;
    }
    syncFolderOf(target);
    return 0;
}

}  // namespace tv
