#pragma once
// The faults tvunit can be told to play: silence, double echoes, falling
// silent after N bytes, hanging up after N bytes, an unasked flood and a
// delay before each answer. (The corrupted memory byte is the protocol's.)
#include "unit_options.h"

namespace tv {

class UnitFaults {
public:
    explicit UnitFaults(const UnitOptions& options) : m_options(options) {}

    // Whether the `received`th byte (counting from 1) is answered at all.
    bool answers(long received) const {
        return !m_options.silent && (m_options.stopAfter < 0 || received <= m_options.stopAfter);
    }
    int echoes() const { return m_options.twice ? 2 : 1; }
    int delayMs() const { return static_cast<int>(m_options.delayMs); }
    // The unasked bytes to send after this answer: the flood, once.
    long floodNow() {
        if (m_flooded || m_options.flood <= 0) return 0;
        m_flooded = true;
        return m_options.flood;
    }
    bool hangsUpAfter(long received) const {
        return m_options.hangupAfter >= 0 && received >= m_options.hangupAfter;
    }

private:
    const UnitOptions& m_options;
    bool m_flooded = false;
};

}  // namespace tv
