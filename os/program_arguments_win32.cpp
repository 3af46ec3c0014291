#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include "os/file_steps_win32.h"
#include "os/program_arguments.h"

namespace tv {

std::vector<std::string> programArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        if (argc < 1) return {};
        return std::vector<std::string>(argv + 1, argv + argc);
    }
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(utf8Text(wide[i]));
    ::LocalFree(wide);
    return args;
}

}  // namespace tv
