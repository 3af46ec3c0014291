#pragma once
// A file-size limit (RLIMIT_FSIZE, from the login or `prlimit --fsize`) is a
// write error like a full disk, not the end of the program.
namespace tv {

// Makes a write past the limit fail (EFBIG) instead of killing the process with
// SIGXFSZ. Every program that writes files calls it once at start.
void ignoreFileSizeLimitSignal();

}  // namespace tv
