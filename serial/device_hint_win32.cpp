#include "serial/device_hint.h"

namespace tv {

const char* unitDeviceHint() {
    return "the COM port that Device Manager lists for it under \"Ports (COM & LPT)\"";
}

}  // namespace tv
