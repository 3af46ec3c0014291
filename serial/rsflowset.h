#pragma once
// rsflowset: the set view of the flag word's bits 0 to 14; element i is bit i.
#include <cstdint>
#include <initializer_list>

namespace tv {

enum rsflow : uint8_t {
    dfBinary,
    dfParity,
    dfOutxCtsFlow,
    dfOutxDsrFlow,
    dfDtrControl_b0,
    dfDtrControl_b1,
    dfDsrSensitivity,
    dfTXContinueOnXoff,
    dfOutX,
    dfInX,
    dfErrorChar,
    dfNull,
    dfRtsControl_b0,
    dfRtsControl_b1,
    dfAbortOnError,
};

class rsflowset {
public:
    static constexpr uint32_t kAllBits = 0x7FFF;

    constexpr rsflowset() = default;
    constexpr rsflowset(std::initializer_list<rsflow> elements) {
        for (rsflow e : elements) include(e);
    }
    // Bits 15 to 31 of `bits` do not show in the set.
    static constexpr rsflowset fromBits(uint32_t bits) {
        rsflowset set;
        set.m_bits = static_cast<uint16_t>(bits & kAllBits);
        return set;
    }

    constexpr uint32_t bits() const { return m_bits; }
    constexpr bool contains(rsflow e) const { return (m_bits >> e) & 1u; }
    constexpr rsflowset& include(rsflow e) {
        m_bits = static_cast<uint16_t>(m_bits | (1u << e));
        return *this;
    }
    constexpr rsflowset& exclude(rsflow e) {
        m_bits = static_cast<uint16_t>(m_bits & ~(1u << e));
        return *this;
    }
    friend constexpr bool operator==(rsflowset, rsflowset) = default;

private:
    uint16_t m_bits = 0;
};

}  // namespace tv
