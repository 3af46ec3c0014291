#include "serial/device_hint.h"

namespace tv {

// udev's names stay the same whichever order adapters are plugged in.
const char* unitDeviceHint() { return "its link under /dev/serial/by-id"; }

}  // namespace tv
