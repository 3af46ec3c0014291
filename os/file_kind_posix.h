#pragma once
// What a path names, in the words a message uses when it is not what was wanted
// (a header or the settings file that is no regular file, a port that is no
// terminal), so that every such message says it alike.
#include <sys/types.h>

#include <string>

namespace tv {

// "a regular file", "a directory", "a FIFO (named pipe)", "a device" (character
// or block), "a socket"; nullptr for anything else.
const char* fileKindText(mode_t mode);

// "a FIFO (named pipe), not a regular file"; "not a regular file" for a kind
// without a name.
std::string notRegularFileText(mode_t mode);

}  // namespace tv
