#pragma once
// Whether the terminal on standard output takes the escape sequences that move
// the cursor up and clear a line, as several ports' lines are redrawn.

namespace tv {

// On Windows, asks the console to take them (Windows 10 and later do when
// asked); false where it will not, and the ports print a line each instead.
bool enableTerminalRedraw();

}  // namespace tv
