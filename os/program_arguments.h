#pragma once
// The program's arguments as UTF-8, the form all text takes inside the program.
// A POSIX system hands them over as they were typed. Windows gives main() its
// arguments in the ANSI code page, where a Japanese file name turns into question
// marks and full-width digits are folded into ASCII ones (and so would be taken
// as a number): there they are read from the wide command line instead.
#include <string>
#include <vector>

namespace tv {

// The arguments after the program's name, UTF-8. `argc` and `argv` are main()'s;
// Windows falls back on them only if the wide command line cannot be split.
std::vector<std::string> programArguments(int argc, char** argv);

}  // namespace tv
