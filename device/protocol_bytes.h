#pragma once
// The bytes of the unit's command protocol and where the configurator keeps
// them: one place for the configurator's link and the simulated unit.
#include <cstdint>

namespace tv::protocol {

inline constexpr uint8_t kWrite = 0x57;       // 'W': the 128-byte channel image follows
inline constexpr uint8_t kDump = 0x44;        // 'D': the unit sends its memory
inline constexpr uint8_t kInitialize = 0x49;  // 'I': the unit clears its memory
inline constexpr uint8_t kCR = 0x0D;          // ends each command letter

inline constexpr int kImageSize = 128;  // eight channels of four 32-bit words
inline constexpr int kChannelBlock = 16;

// Positions in the receive buffer.
inline constexpr int kBufferSize = 1025;  // positions 0..1024
inline constexpr int kImageStart = 513;   // the write image: 513..640

}  // namespace tv::protocol
