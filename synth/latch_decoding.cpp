#include "synth/latch_decoding.h"

namespace tv {

namespace {

constexpr uint32_t bits(int high, int low) {
    return ((uint32_t{1} << (high - low + 1)) - 1) << low;
}

int32_t field(uint32_t word, int high, int low) {
    return static_cast<int32_t>((word & bits(high, low)) >> low);
}

// The bits each latch's terms occupy (latch_encoding.cpp documents the layout).
constexpr uint32_t kControl = bits(1, 0);
constexpr uint32_t kRefRegUsed = kControl | bits(15, 2) | bits(17, 16) | bits(20, 20);
constexpr uint32_t kNRegUsedS = kControl | bits(20, 8);
constexpr uint32_t kNRegUsedD = kControl | bits(7, 2) | bits(20, 8);
constexpr uint32_t kOptionUsedS =
    kControl | bits(6, 4) | bits(7, 7) | bits(8, 8) | bits(14, 11) | bits(17, 15) | bits(20, 18);
constexpr uint32_t kOptionUsedD = kOptionUsedS | bits(23, 22);

}  // namespace

const char* latchName(Latch latch) {
    switch (latch) {
        case Latch::RefReg:
            return "RefReg";
        case Latch::NReg:
            return "NReg";
        case Latch::FuncReg:
            return "FuncReg";
        case Latch::InitReg:
            return "InitReg";
    }
    return "";
}

DecodedLatch decodeLatch(uint32_t word, int32_t variant) {
    DecodedLatch d;
    d.word = word;
    d.latch = static_cast<Latch>(word & kControl);
    const bool dual = variant != 0;
    uint32_t used = 0;
    switch (d.latch) {
        case Latch::RefReg:
            d.R = field(word, 15, 2);
            d.AntiBackLash = field(word, 17, 16);
            d.LDP = field(word, 20, 20);
            used = kRefRegUsed;
            break;
        case Latch::NReg:
            if (dual) {
                d.A = field(word, 7, 2);
                d.B = field(word, 20, 8);
            } else {
                d.N = field(word, 20, 8);
            }
            used = dual ? kNRegUsedD : kNRegUsedS;
            break;
        case Latch::FuncReg:
        case Latch::InitReg:
            d.MUXOut = field(word, 6, 4);
            d.PDPol = field(word, 7, 7);
            d.CPOut = field(word, 8, 8);
            d.TimerCountCTRL = field(word, 14, 11);
            d.current1 = field(word, 17, 15);
            d.current1Second = field(word, 20, 18);
            d.PSC = field(word, 23, 22);
            used = dual ? kOptionUsedD : kOptionUsedS;
            break;
    }
    d.strayBits = word & ~used;
    return d;
}

int32_t prescalerModulus(int32_t psc) { return int32_t{8} << psc; }

std::optional<SetFrequencies> setFrequencies(const DecodedLatch& ref, const DecodedLatch& n,
                                             int32_t psc, int32_t variant, double stdMHz,
                                             int32_t multiplier) {
    if (ref.R == 0) return std::nullopt;
    const double counter = variant != 0 ? static_cast<double>(prescalerModulus(psc)) * n.B + n.A
                                        : static_cast<double>(n.N);
    SetFrequencies f;
    // Products before the division: one rounding, so whole ratios come out exact.
    f.pdKHz = stdMHz * 1000.0 / ref.R;
    f.vcoMHz = counter * stdMHz / ref.R;
    f.localOutputMHz = f.vcoMHz * multiplier;
    return f;
}

}  // namespace tv
