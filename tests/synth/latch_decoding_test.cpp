// The decoder is the encoder's inverse: every word the encoder builds decodes
// to the latch and the option indices and counters it was built from, with no
// stray bits; bits the encoder never sets are flagged.
#include "synth/latch_decoding.h"

#include <gtest/gtest.h>

#include "synth/latch_encoding.h"

namespace tv {
namespace {

uint32_t u(int32_t word) { return static_cast<uint32_t>(word); }

void expectOptions(const DecodedLatch& d, Latch latch, const SynthOptions& o) {
    EXPECT_EQ(d.latch, latch);
    EXPECT_EQ(d.MUXOut, o.MUXOut);
    EXPECT_EQ(d.PDPol, o.PDPol);
    EXPECT_EQ(d.CPOut, o.CPOut);
    EXPECT_EQ(d.TimerCountCTRL, o.TimerCountCTRL);
    EXPECT_EQ(d.current1, o.current1);
    EXPECT_EQ(d.current1Second, o.current1);
    EXPECT_EQ(d.PSC, o.Variant == 0 ? 0 : o.PSC);
    EXPECT_EQ(d.strayBits, 0u);
}

TEST(LatchDecoding, InvertsTheEncoderOverEveryOptionAndManyCounters) {
    int checked = 0;
    SynthOptions o;
    for (o.Variant = 0; o.Variant <= 1; ++o.Variant)
        for (o.PDPol = 0; o.PDPol <= 1; ++o.PDPol)
            for (o.MUXOut = 0; o.MUXOut <= 7; ++o.MUXOut)
                for (o.current1 = 0; o.current1 <= 7; ++o.current1)
                    for (o.TimerCountCTRL = 0; o.TimerCountCTRL <= 15; ++o.TimerCountCTRL)
                        for (o.CPOut = 0; o.CPOut <= 1; ++o.CPOut)
                            for (o.PSC = 0; o.PSC <= 3; ++o.PSC) {
                                expectOptions(decodeLatch(u(initRegWord(o)), o.Variant),
                                              Latch::InitReg, o);
                                expectOptions(decodeLatch(u(funcRegWord(o)), o.Variant),
                                              Latch::FuncReg, o);
                                if (::testing::Test::HasFailure()) return;
                                ++checked;
                            }
    // RefReg: every R with every LDP and AntiBackLash item.
    for (o.LDP = 0; o.LDP <= 1; ++o.LDP)
        for (o.AntiBackLash = 0; o.AntiBackLash <= 2; ++o.AntiBackLash)
            for (int32_t r = 1; r <= kMaxRCounter; ++r) {
                const DecodedLatch d = decodeLatch(u(refRegWord(r, o)), 0);
                ASSERT_EQ(d.latch, Latch::RefReg);
                ASSERT_EQ(d.R, r);
                ASSERT_EQ(d.LDP, o.LDP);
                ASSERT_EQ(d.AntiBackLash, o.AntiBackLash);
                ASSERT_EQ(d.strayBits, 0u);
            }
    // NReg: every N of Tarvex S, every A with a spread of B for Tarvex D.
    for (int32_t n = 0; n <= kMaxNCounter; ++n) {
        const DecodedLatch d = decodeLatch(u(nRegWord(n, 0, 0, 0)), 0);
        ASSERT_EQ(d.latch, Latch::NReg);
        ASSERT_EQ(d.N, n);
        ASSERT_EQ(d.strayBits, 0u);
    }
    for (int32_t a = 0; a <= kMaxACounter; ++a)
        for (int32_t b = 0; b <= kMaxNCounter; b += 37) {
            const DecodedLatch d = decodeLatch(u(nRegWord(0, a, b, 1)), 1);
            ASSERT_EQ(d.latch, Latch::NReg);
            ASSERT_EQ(d.A, a);
            ASSERT_EQ(d.B, b);
            ASSERT_EQ(d.strayBits, 0u);
        }
    EXPECT_EQ(checked, 2 * 2 * 8 * 8 * 16 * 2 * 4);
}

TEST(LatchDecoding, FlagsBitsTheEncoderNeverSets) {
    struct Case {
        uint32_t word;
        int32_t variant;
        uint32_t stray;
    };
    const Case cases[] = {
        {0x000000C8, 0, 0},              // RefReg of R 50
        {0x001C00C8, 0, 0x000C0000},     // RefReg bits 19..18
        {0x00E000C8, 0, 0x00E00000},     // RefReg bits 23..21
        {0x01000000, 0, 0x01000000},     // above the 24 bits
        {0x00026901 | 0x24, 0, 0x24},    // A bits in a Tarvex S NReg
        {0x00002625, 1, 0},              // Tarvex D NReg A 9 B 38
        {0x00E02625, 1, 0x00E00000},     // NReg bits 23..21
        {0x004D8093, 0, 0x00400000},     // prescaler bits in a Tarvex S InitReg
        {0x004D8093, 1, 0},              // the same word for Tarvex D
        {0x000D8092 | 0x60C, 1, 0x60C},  // FuncReg bits 3..2 and 10..9
        {0x002D8092, 1, 0x00200000},     // FuncReg bit 21
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeLatch(c.word, c.variant).strayBits, c.stray) << std::hex << c.word;
    }
}

TEST(LatchDecoding, GivesTheFrequenciesOfASet) {
    // The start-up example: R 50, N 617 (Tarvex S) or A 9, B 38 with P 16 (Tarvex D).
    for (const int32_t variant : {0, 1}) {
        const DecodedLatch ref = decodeLatch(0x000000C8, variant);
        const DecodedLatch n = decodeLatch(variant == 0 ? 0x00026901 : 0x00002625, variant);
        const auto f = setFrequencies(ref, n, 1, variant, 10.0, 100);
        ASSERT_TRUE(f);
        EXPECT_DOUBLE_EQ(f->pdKHz, 200.0);
        EXPECT_DOUBLE_EQ(f->vcoMHz, 123.4);
        EXPECT_DOUBLE_EQ(f->localOutputMHz, 12340.0);
    }
    EXPECT_FALSE(setFrequencies(decodeLatch(0, 0), decodeLatch(1, 0), 0, 0, 10.0, 100));
}

}  // namespace
}  // namespace tv
