#pragma once
// A received byte as the status memo and the buffer view show it. (Words use
// synth's hexText.)
#include <cstdint>
#include <string>

namespace tv {

// Two uppercase hexadecimal digits: 0x0A -> "0A".
std::string hexByte(uint8_t value);

}  // namespace tv
