#include "os/file_steps.h"

#include <gtest/gtest.h>

#include <string>

#include "os/temporary_name.h"

namespace tv {
namespace {

// Where the safe replace puts its temporary file: beside the target, in the
// target's own folder, whatever way the path names it.
TEST(FileSteps, TemporaryGoesBesideItsTarget) {
    struct Row {
        std::string target, name, sibling;
    };
    const Row rows[] = {
#ifdef _WIN32
        {"C:\\work\\TVCONFIG.INI", "TVCONFIG.INI", "C:\\work\\x"},
        {"C:/work/TVCONFIG.INI", "TVCONFIG.INI", "C:/work/x"},
        {"TVCONFIG.INI", "TVCONFIG.INI", "x"},  // the current folder, no "." glued on
#else
        {"/work/TVCONFIG.INI", "TVCONFIG.INI", "/work/x"},
        {"TVCONFIG.INI", "TVCONFIG.INI", "./x"},
#endif
    };
    for (const Row& row : rows) {
        EXPECT_EQ(fileNameOf(row.target), row.name) << row.target;
        EXPECT_EQ(siblingPath(row.target, "x"), row.sibling) << row.target;
    }
    const std::string prefix = temporaryPrefix("TVCONFIG.INI");
    const std::string name = temporaryName(prefix, 4321, 7);
    EXPECT_EQ(name, ".TVCONFIG.INI.4321.7.tmp");
    EXPECT_EQ(temporaryOwner(name, prefix, kProcessIdDigits), 4321u);
}

}  // namespace
}  // namespace tv
