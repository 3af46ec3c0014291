#include "os/binary_output.h"

namespace tv {

// POSIX streams have no text mode: the bytes go out as written.
void useBinaryStandardOutput() {}

}  // namespace tv
