#pragma once
// The timing of a serial line at a given baud rate: 10 bits a byte (start, 8
// data, stop), one character time per byte in each direction, each direction
// busy with one byte at a time. Times are monotonic nanoseconds.
#include <cstdint>

namespace tv {

class WirePace {
public:
    static constexpr int kBitsPerByte = 10;

    // A baud rate of 0 paces nothing: every byte is done the moment it comes.
    explicit WirePace(long baud)
        : m_characterNs(baud > 0 ? kBitsPerByte * 1000000000LL / baud : 0) {}

    bool paced() const { return m_characterNs > 0; }
    int64_t characterNs() const { return m_characterNs; }

    // When a byte that came at `arrivalNs` has been fully received: one
    // character time after it came, or after the previous byte, if later.
    int64_t received(int64_t arrivalNs) {
        m_rxFree = later(arrivalNs, m_rxFree) + m_characterNs;
        return m_rxFree;
    }
    // When a byte handed to the transmitter at `nowNs` has fully gone out.
    int64_t sent(int64_t nowNs) {
        m_txFree = later(nowNs, m_txFree) + m_characterNs;
        return m_txFree;
    }

private:
    static int64_t later(int64_t a, int64_t b) { return a > b ? a : b; }

    int64_t m_characterNs;
    int64_t m_rxFree = 0;
    int64_t m_txFree = 0;
};

}  // namespace tv
