#include "os/console_output.h"

namespace tv {

// A terminal takes the UTF-8 bytes as they are.
void useConsoleTextOutput() {}

}  // namespace tv
