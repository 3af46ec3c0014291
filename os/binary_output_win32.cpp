#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "os/binary_output.h"

namespace tv {

void useBinaryStandardOutput() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace tv
