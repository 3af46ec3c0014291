#include <windows.h>

#include "app/system_beep.h"

namespace tv {

// The sound the user chose for information messages ("Asterisk").
void systemBeep() { ::MessageBeep(MB_ICONASTERISK); }

}  // namespace tv
