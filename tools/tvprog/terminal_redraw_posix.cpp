#include "tools/tvprog/terminal_redraw.h"

namespace tv {

bool enableTerminalRedraw() { return true; }

}  // namespace tv
