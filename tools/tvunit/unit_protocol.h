#pragma once
// What the simulated unit answers: every received byte is echoed once; the
// commands "W" CR + 128 bytes (store the eight-channel memory), "D" CR (dump it
// after the CR's echo) and "I" CR (clear it) act on the 128-byte memory.
// For read-back tests it can keep one byte of every stored image wrong.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/protocol_bytes.h"

namespace tv {

class UnitProtocol {
public:
    static constexpr std::size_t kMemorySize = protocol::kImageSize;
    using Memory = std::array<uint8_t, kMemorySize>;

    UnitProtocol() = default;
    // Every image stored by "W" keeps its byte `corruptByte` inverted (none
    // when it is outside the memory); the echoes are not affected.
    explicit UnitProtocol(long corruptByte) : m_corruptByte(corruptByte) {}

    // The bytes the unit sends back for one received byte: its echo first.
    std::vector<uint8_t> receive(uint8_t b);
    const Memory& memory() const { return m_memory; }

private:
    enum class State { Idle, AfterW, AfterD, AfterI, Storing };
    void command(uint8_t b);

    State m_state = State::Idle;
    Memory m_memory{};
    Memory m_incoming{};
    std::size_t m_stored = 0;
    long m_corruptByte = -1;
};

}  // namespace tv
