#include "synth/latch_encoding.h"

#include <string>

#include "os/errors.h"

namespace tv {
namespace {

// Adds index × 2^position terms modulo 2^32, which is 32-bit two's complement
// addition without the undefined behaviour of signed overflow.
class WordSum {
public:
    WordSum& add(int64_t index, int position) {
        m_bits += static_cast<uint32_t>(index) * (uint32_t{1} << position);
        return *this;
    }
    int32_t word() const { return static_cast<int32_t>(m_bits); }

private:
    uint32_t m_bits = 0;
};

// InitReg and FuncReg, differing only in their control bits:
//   1..0   control: 11 InitReg, 10 FuncReg
//   6..4   MUXOut index              7      PDPol index
//   8      CPOut index               14..11 TimerCountCTRL index
//   17..15 current1 index            20..18 current1 index again
//   23..22 PSC index for Tarvex D (Variant 1 or more); 00 otherwise
//   3..2, 10..9 and 21 stay 0.
int32_t optionWord(const SynthOptions& o, int32_t controlBits) {
    const int32_t prescaler = o.Variant >= 1 ? o.PSC : 0;
    return WordSum()
        .add(prescaler, 22)
        .add(o.current1, 18)
        .add(o.current1, 15)
        .add(o.TimerCountCTRL, 11)
        .add(o.CPOut, 8)
        .add(o.PDPol, 7)
        .add(o.MUXOut, 4)
        .add(controlBits, 0)
        .word();
}

void checkField(const char* counter, int32_t value, int bits, int32_t max) {
    if (value >= 0 && value <= max) return;
    throw Error(std::string(counter) + " counter " + std::to_string(value) + " does not fit its " +
                std::to_string(bits) + "-bit field (0 to " + std::to_string(max) +
                "). Check LocalOutput, Multiplier and STD");
}

}  // namespace

// RefReg, control bits 00:
//   15..2  R (1..16383)    17..16 AntiBackLash index    20 LDP index
//   19..18 and 23..21 stay 0.
int32_t refRegWord(int32_t r, const SynthOptions& options) {
    const int32_t counter = r > kMaxRCounter ? kMaxRCounter : r;
    return WordSum().add(options.LDP, 20).add(options.AntiBackLash, 16).add(counter, 2).word();
}

// NReg, control bits 01:
//   Tarvex S: 20..8 N.             Tarvex D: 20..8 B, 7..2 A.
//   23..21 stay 0.
int32_t nRegWord(int32_t n, int32_t a, int32_t b, int32_t variant) {
    if (variant == 0) return WordSum().add(n, 8).add(1, 0).word();
    return WordSum().add(b, 8).add(a, 2).add(1, 0).word();
}

int32_t initRegWord(const SynthOptions& options) { return optionWord(options, 3); }

int32_t funcRegWord(const SynthOptions& options) { return optionWord(options, 2); }

void checkCountersFit(int32_t n, int32_t a, int32_t b, int32_t variant) {
    if (variant == 0) {
        checkField("N", n, 13, kMaxNCounter);
    } else {
        checkField("A", a, 6, kMaxACounter);
        checkField("B", b, 13, kMaxNCounter);
    }
}

}  // namespace tv
