#include "os/file_size_limit.h"

namespace tv {

// Windows has no per-process file-size limit and no signal for one: a write past
// what the disk holds fails with ERROR_DISK_FULL by itself.
void ignoreFileSizeLimitSignal() {}

}  // namespace tv
