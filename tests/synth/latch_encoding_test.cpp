#include "synth/latch_encoding.h"

#include <gtest/gtest.h>

#include "os/errors.h"

namespace tv {
namespace {

SynthOptions tarvexD() {
    SynthOptions o;
    o.Variant = 1;
    return o;
}

TEST(LatchEncoding, StartUpOptionsGiveTheKnownWords) {
    const SynthOptions s;  // start-up options, Tarvex S
    EXPECT_EQ(refRegWord(50, s), 0x0000C8);
    EXPECT_EQ(nRegWord(617, 0, 0, s.Variant), 0x026901);
    EXPECT_EQ(initRegWord(s), 0x0D8093);
    EXPECT_EQ(funcRegWord(s), 0x0D8092);

    const SynthOptions d = tarvexD();
    EXPECT_EQ(nRegWord(617, 9, 38, d.Variant), 0x002625);
    EXPECT_EQ(initRegWord(d), 0x4D8093);
    EXPECT_EQ(funcRegWord(d), 0x4D8092);
}

TEST(LatchEncoding, EachOptionLandsInItsField) {
    SynthOptions o;
    o.LDP = 1;
    o.AntiBackLash = 2;
    EXPECT_EQ(refRegWord(1, o), (1 << 20) | (2 << 16) | (1 << 2));
    // An R beyond the 14-bit field is taken as 16383 and leaves bits 17..16 alone.
    EXPECT_EQ(refRegWord(16384, o), (1 << 20) | (2 << 16) | 0xFFFC);

    SynthOptions zero;
    zero.PDPol = zero.MUXOut = zero.current1 = 0;
    const int32_t base = initRegWord(zero);
    EXPECT_EQ(base, 3);
    const struct {
        int32_t SynthOptions::*field;
        int32_t index;
        int32_t bits;
    } fields[] = {
        {&SynthOptions::MUXOut, 7, 0x70},       {&SynthOptions::PDPol, 1, 0x80},
        {&SynthOptions::CPOut, 1, 0x100},       {&SynthOptions::TimerCountCTRL, 15, 0x7800},
        {&SynthOptions::current1, 7, 0x1F8000},  // both current fields, bits 20..15
    };
    for (const auto& f : fields) {
        SynthOptions one = zero;
        one.*f.field = f.index;
        EXPECT_EQ(initRegWord(one), base + f.bits) << f.index;
        EXPECT_EQ(funcRegWord(one), base - 1 + f.bits) << f.index;
    }
}

TEST(LatchEncoding, PrescalerBitsOnlyForTarvexD) {
    SynthOptions s;
    s.PSC = 3;
    EXPECT_EQ(initRegWord(s) & 0xC00000, 0);
    SynthOptions d = tarvexD();
    d.PSC = 3;
    EXPECT_EQ(initRegWord(d) & 0xC00000, 0xC00000);
}

TEST(LatchEncoding, IndexMinusOneSubtractsItsWeight) {
    SynthOptions o;
    o.MUXOut = 0;
    const int32_t muxZero = initRegWord(o);
    o.MUXOut = -1;
    EXPECT_EQ(initRegWord(o), muxZero - 16);
    SynthOptions ldp;
    ldp.LDP = -1;
    EXPECT_EQ(refRegWord(50, ldp), 0xC8 - (1 << 20));
    // Variant -1: the A/B form of NReg and no prescaler bits.
    SynthOptions none;
    none.Variant = -1;
    none.PSC = 3;
    EXPECT_EQ(nRegWord(617, 0, 0, none.Variant), 1);
    EXPECT_EQ(initRegWord(none), 0x0D8093);
}

std::string fitError(int32_t n, int32_t a, int32_t b, int32_t variant) {
    try {
        checkCountersFit(n, a, b, variant);
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

TEST(LatchEncoding, RefusesCountersThatDoNotFitTheirField) {
    EXPECT_EQ(fitError(0, -5, 99999, 0), "");
    EXPECT_EQ(fitError(8191, 0, 0, 0), "");
    EXPECT_EQ(fitError(-617, 0, 0, 0),
              "N counter -617 does not fit its 13-bit field (0 to 8191). "
              "Check LocalOutput, Multiplier and STD");
    EXPECT_EQ(fitError(8192, 0, 0, 0).substr(0, 45),
              "N counter 8192 does not fit its 13-bit field ");
    EXPECT_EQ(fitError(-1, 63, 8191, 1), "");
    EXPECT_EQ(fitError(0, 64, 0, 1).substr(0, 42), "A counter 64 does not fit its 6-bit field ");
    EXPECT_EQ(fitError(0, 0, 8192, 1).substr(0, 45),
              "B counter 8192 does not fit its 13-bit field ");
    EXPECT_EQ(fitError(0, 0, -39, -1).substr(0, 13), "B counter -39");
}

}  // namespace
}  // namespace tv
