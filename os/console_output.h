#pragma once
// The operator's text on standard output and standard error, UTF-8 inside the
// program. A Windows console shows the bytes it is given in its own code page
// (932, 437, ...), where UTF-8 Japanese turns to garbage; text bound for a
// console therefore goes to it as UTF-16 through the console's own call.
// Output redirected to a file or a pipe carries the UTF-8 bytes unchanged, as
// on Linux, where a terminal takes UTF-8 as it is.

namespace tv {

// Call once at the start of main, after useBinaryStandardOutput() and before
// anything is written: from then on, what std::cout and std::cerr hold reaches a
// console as the text it is. Output through the C library's stdout and stderr
// is not converted; it is kept for ASCII (the progress bar), and a console sees
// it in the order it was written.
void useConsoleTextOutput();

}  // namespace tv
