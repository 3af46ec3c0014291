// The chip's counter rules, the PSC items that split an N within them, and the
// line that names a broken rule.
#include "synth/counter_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "os/errors.h"
#include "synth/ratio_finder.h"
#include "tests/synth/recording_finder_view.h"

namespace tv {
namespace {

using Rules = std::vector<CounterRule>;

TEST(CounterRules, EachRuleAtItsEdges) {
    const struct {
        int32_t variant;
        int64_t r, n, a, b;
        Rules broken;
    } cases[] = {
        // Tarvex S: N alone, A and B do not matter.
        {0, 1, 1, 0, 0, {}},
        {0, 16383, 8191, 0, 0, {}},
        {0, 50, 0, 0, 0, {CounterRule::NRange}},
        {0, 50, 8192, 0, 0, {CounterRule::NRange}},
        {0, 50, -617, 0, 0, {CounterRule::NRange}},
        // Both: R.
        {0, 0, 617, 0, 0, {CounterRule::RRange}},
        {1, 16384, 617, 9, 38, {CounterRule::RRange}},
        // Tarvex D: B and A; N does not matter.
        {1, 1, 0, 3, 3, {}},
        {1, 1, 0, 0, 8191, {}},
        {1, 1, 0, 0, 2, {CounterRule::BAtLeast3}},
        {1, 1, 0, 4, 3, {CounterRule::BAtLeastA}},
        {1, 1, 0, 15, 2, {CounterRule::BAtLeast3, CounterRule::BAtLeastA}},
        {1, 1, 0, 0, 8192, {CounterRule::BAtMost8191}},
        {1, 50, -617, -9, -38, {CounterRule::BAtLeast3, CounterRule::BAtLeastA}},
        // Variant -1 gets the A/B form, as the encoder writes it.
        {-1, 50, 617, 0, 0, {CounterRule::BAtLeast3}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(brokenCounterRules(c.variant, c.r, c.n, c.a, c.b), c.broken)
            << c.variant << " R " << c.r << " N " << c.n << " A " << c.a << " B " << c.b;
    }
}

TEST(CounterRules, PscItemsThatSplitNWithinTheRules) {
    using Splits = std::vector<std::array<int64_t, 3>>;  // PSC, B, A
    const struct {
        int64_t n;
        Splits splits;
    } cases[] = {
        {47, {}},  // 8/9: B 5 < A 7; 16/17: B 2
        {56, {{0, 7, 0}}},
        {617, {{0, 77, 1}, {1, 38, 9}, {2, 19, 9}}},  // 64/65: B 9 < A 41
        {4160, {{0, 520, 0}, {1, 260, 0}, {2, 130, 0}, {3, 65, 0}}},
        {-617, {}},
    };
    for (const auto& c : cases) {
        Splits splits;
        for (const PrescalerSplit& s : splitsWithinRules(c.n)) splits.push_back({s.psc, s.b, s.a});
        EXPECT_EQ(splits, c.splits) << c.n;
    }
}

TEST(CounterRules, LineNamesTheRuleTheCountersAndTheOtherItems) {
    const struct {
        int32_t variant, psc;
        int64_t r, n, a, b;
        const char* line;
    } cases[] = {
        {1, 1, 50, 617, 9, 38, ""},
        {0, 3, 50, 617, 0, 0, ""},
        {1, 1, 1, 47, 15, 2,
         "Tarvex D cannot divide N 47 with PSC 16/17: B 2, A 15 breaks B ≥ 3 and B ≥ A; "
         "no PSC item splits it within the rules."},
        {1, 3, 50, 617, 41, 9,
         "Tarvex D cannot divide N 617 with PSC 64/65: B 9, A 41 breaks B ≥ A; "
         "PSC 8/9 splits it as B 77, A 1; PSC 16/17 as B 38, A 9; PSC 32/33 as B 19, A 9."},
        {1, 1, 50, -617, -9, -38,
         "Tarvex D cannot divide N -617 with PSC 16/17: B -38, A -9 breaks B ≥ 3 and B ≥ A; "
         "no PSC item splits it within the rules."},
        {0, 1, 50, -617, 0, 0, "Tarvex S cannot divide N -617: N -617 breaks 1 ≤ N ≤ 8191."},
        {0, 1, 16384, 0, 0, 0,
         "Tarvex S cannot divide N 0: R 16384 breaks 1 ≤ R ≤ 16383; N 0 breaks 1 ≤ N ≤ 8191."},
    };
    for (const auto& c : cases) {
        SynthOptions options;
        options.Variant = c.variant;
        options.PSC = c.psc;
        EXPECT_EQ(counterRuleLine(options, c.r, c.n, c.a, c.b), c.line);
    }
}

// The window and tvcalc name the rules of the match a click showed, even when its
// encoding then failed; a click that failed before showing one has none.
TEST(CounterRules, TheClicksMatchOutlivesAFailedEncodingOnly) {
    RecordingFinderView view;
    view.multiplier = "-100";
    int32_t currentR = 0;
    LatchSet latches;
    RatioFinder finder(view, currentR, latches);
    finder.captionInit();
    EXPECT_THROW(finder.search(), Error);  // N -617 does not fit its field
    ASSERT_NE(finder.clickMatch(), nullptr);
    EXPECT_EQ(finder.clickMatch()->n, -617);
    view.multiplier = "x";
    EXPECT_THROW(finder.search(), Error);
    EXPECT_EQ(finder.clickMatch(), nullptr);
    EXPECT_TRUE(finder.shown());  // still on screen
}

}  // namespace
}  // namespace tv
