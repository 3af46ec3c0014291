#pragma once
// Standard output and standard error carry exactly the bytes the program
// writes: on Windows the C library would otherwise turn each "\n" into CR LF,
// and a program's output would differ from the same program's on Linux.

namespace tv {

// Call once at the start of main, before anything is written.
void useBinaryStandardOutput();

}  // namespace tv
