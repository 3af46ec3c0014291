#include <QApplication>

#include "app/system_beep.h"

namespace tv {

// The desktop's bell.
void systemBeep() { QApplication::beep(); }

}  // namespace tv
