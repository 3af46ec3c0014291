#include "synth/ratio_finder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "os/errors.h"
#include "tests/synth/recording_finder_view.h"

namespace tv {
namespace {

using Log = std::vector<std::string>;

class Finder : public ::testing::Test {
protected:
    RecordingFinderView view;
    int32_t currentR = 0;
    LatchSet latches;
    RatioFinder finder{view, currentR, latches};

    // A fresh start with the given inputs: reset, then forget the reset's calls.
    void start(const char* lo, const char* m, const char* std, int32_t variant = 0) {
        view.localOutput = lo;
        view.multiplier = m;
        view.stdMHz = std;
        view.synthOptions.Variant = variant;
        finder.captionInit();
        view.log.clear();
    }
    // The click's error message, "" when it did not fail.
    std::string click(FinderOutcome (RatioFinder::*button)()) {
        view.log.clear();
        try {
            (finder.*button)();
        } catch (const Error& e) {
            return e.what();
        }
        return "";
    }
    std::string search() { return click(&RatioFinder::search); }
    std::string prev() { return click(&RatioFinder::prev); }
    std::string shownR() const { return view.shown(FinderLabel::R); }
    std::string shownN() const { return view.shown(FinderLabel::N); }
};

const Log kResetLog = {
    "clear",
    "caption:search",
    "label:VCO=  ",
    "label:PD=  ",
    "label:N=  ",
    "label:R=  ",
    "label:A=  ",
    "label:B=  ",
    "enable:Prev=0",
    "enable:Search=1",
    "enable:Reset=1",
    "result:RefReg=",
    "result:NReg=",
    "result:InitReg=",
    "result:FuncReg=",
    "enable:MemoryChannel=1",
    "enable:Variant=0",
};

TEST_F(Finder, CaptionInitResetsEveryDisplayButNotTheWords) {
    latches.NReg = 0x1234;
    currentR = 77;
    view.log.clear();
    finder.captionInit();
    EXPECT_EQ(view.log, kResetLog);
    EXPECT_EQ(currentR, 0);
    EXPECT_EQ(latches.NReg, 0x1234);
}

TEST_F(Finder, TypicalUseTarvexS) {
    start("12340", "100", "10");
    EXPECT_EQ(search(), "");
    const Log expected = {
        "clear",
        "caption:next",
        "label:VCO=123.4",
        "label:PD=200",
        "label:N=617",
        "label:R=50",
        "label:A=0",
        "label:B=0",
        "enable:Prev=1",
        "result:RefReg=000000C8",
        "result:NReg=00026901",
        "result:InitReg=000D8093",
        "result:FuncReg=000D8092",
    };
    EXPECT_EQ(view.log, expected);
    EXPECT_EQ(currentR, 50);
    EXPECT_EQ(latches.NReg, 0x026901);
}

TEST_F(Finder, TypicalUseTarvexD) {
    start("12340", "100", "10", 1);
    EXPECT_EQ(search(), "");
    EXPECT_EQ(view.shown(FinderLabel::A), "9");
    EXPECT_EQ(view.shown(FinderLabel::B), "38");
    EXPECT_EQ(view.results,
              (std::array<std::string, 4>{"000000C8", "00002625", "004D8093", "004D8092"}));
}

TEST_F(Finder, NextWalksTheMultiplesOf50UpToTheNLimit) {
    start("12340", "100", "10");
    for (int k = 1; k <= 13; ++k) {
        ASSERT_EQ(search(), "");
        EXPECT_EQ(shownR(), std::to_string(50 * k));
        EXPECT_EQ(shownN(), std::to_string(617 * k));
    }
    EXPECT_EQ(view.shown(FinderLabel::PD), "15.3846153846154");
    EXPECT_EQ(search(), "");
    EXPECT_EQ(view.log,
              (Log{"clear", "line:Ratio was not found in N of 8191 or less", "enable:Search=0"}));
    EXPECT_EQ(currentR, 664);
    EXPECT_EQ(shownR(), "650");
    EXPECT_TRUE(view.isEnabled(FinderControl::Prev));

    // Prev leaves the stopped state: it enables search, then finds 650 and 600.
    EXPECT_EQ(prev(), "");
    EXPECT_EQ(view.log.at(1), "enable:Search=1");
    EXPECT_EQ(shownR(), "650");
    EXPECT_EQ(prev(), "");
    EXPECT_EQ(shownR(), "600");
    EXPECT_EQ(shownN(), "7404");
}

TEST_F(Finder, PrevBelowTheFirstMatchEndsInReset) {
    start("12340", "100", "10");
    ASSERT_EQ(search(), "");
    latches = LatchSet{};
    EXPECT_EQ(prev(), "");
    Log expected = {"clear", "enable:Search=1"};
    expected.insert(expected.end(), kResetLog.begin(), kResetLog.end());
    expected.push_back("line:Ratio was not found");
    EXPECT_EQ(view.log, expected);
    EXPECT_EQ(view.status, Log{"Ratio was not found"});
    EXPECT_EQ(currentR, 0);
    EXPECT_EQ(latches.RefReg, 0);  // nothing encoded on the way down
}

TEST_F(Finder, WholeNumberRatioMatchesAtEveryR) {
    start("12300", "100", "1");
    ASSERT_EQ(search(), "");
    EXPECT_EQ(shownR() + "/" + shownN(), "1/123");
    ASSERT_EQ(search(), "");
    EXPECT_EQ(shownR() + "/" + shownN(), "2/246");
    ASSERT_EQ(prev(), "");
    EXPECT_EQ(shownR(), "1");
    // Prev at R 1 tests R 1 again: it disables prev, matches, and enables it.
    ASSERT_EQ(prev(), "");
    EXPECT_EQ(view.log.at(2), "enable:Prev=0");
    EXPECT_EQ(view.log.back(), "result:FuncReg=000D8092");
    EXPECT_EQ(shownR(), "1");
    EXPECT_EQ(currentR, 1);
    EXPECT_TRUE(view.isEnabled(FinderControl::Prev));
}

TEST_F(Finder, PrevFromTheResetStateTestsROneInsteadOfRunningAway) {
    start("12300", "100", "1");
    ASSERT_EQ(prev(), "");
    EXPECT_EQ(view.log.at(2), "enable:Prev=0");
    EXPECT_EQ(shownR(), "1");
    start("12340", "100", "10");
    ASSERT_EQ(prev(), "");
    EXPECT_EQ(view.status, Log{"Ratio was not found"});
    EXPECT_EQ(currentR, 0);
}

TEST_F(Finder, LocalOutputZeroMatchesAtOnce) {
    start("0", "100", "10");
    EXPECT_EQ(search(), "");
    EXPECT_EQ(shownR() + "/" + shownN() + "/" + view.shown(FinderLabel::VCO), "1/0/0");
}

TEST_F(Finder, NegativeMultiplierShowsTheMatchButTheEncoderRefusesIt) {
    start("12340", "100", "10");
    ASSERT_EQ(search(), "");
    const LatchSet before = latches;
    start("12340", "-100", "10");
    EXPECT_EQ(search(),
              "N counter -617 does not fit its 13-bit field (0 to 8191). "
              "Check LocalOutput, Multiplier and STD");
    EXPECT_EQ(shownN(), "-617");
    EXPECT_EQ(view.log.back(), "enable:Prev=1");  // the display step stopped at the encoder
    EXPECT_EQ(latches.RefReg, 0xC8);
    EXPECT_EQ(latches.NReg, before.NReg);
    EXPECT_EQ(view.results[0], "");
}

TEST_F(Finder, QuotientWithDecimalsFailsInTheEncoderAfterRefReg) {
    start("12300", "100", "1");
    ASSERT_EQ(search(), "");
    const LatchSet before = latches;  // R 1, N 123
    start("12340.0000001", "100", "10");
    EXPECT_EQ(search(), "'617.000000005' は整数ではありません");
    EXPECT_EQ(latches.RefReg, 0xC8);
    EXPECT_EQ(latches.NReg, before.NReg);
    EXPECT_EQ(latches.InitReg, before.InitReg);
    EXPECT_EQ(view.log.size(), 9u);  // clear, caption, six labels, prev enabled
}

TEST_F(Finder, FailuresWhileReadingLeaveOnlyTheEmptiedMemo) {
    const struct {
        const char* lo;
        const char* m;
        const char* std;
        const char* message;
    } cases[] = {
        {"12340x", "100", "10", "'12340x' は浮動小数点数ではありません"},
        {"12340", "1.5", "10", "'1.5' は整数ではありません"},
        {"1e13", "100", "10", "不正な浮動小数点数演算命令"},
        {"12340", "0", "10", "0 による浮動小数点数除算"},
        {"0", "0", "10", "不正な浮動小数点数演算命令"},
        {"12340", "100", "0", "0 による浮動小数点数除算"},
        {"12340", "100", "1e-300", "不正な浮動小数点数演算命令"},
        // STD / R a subnormal, then zero: overflow, then a division by zero.
        {"12340", "100", "1e-320", "浮動小数点数演算でオーバーフローしました"},
        {"12340", "100", "5e-324", "0 による浮動小数点数除算"},
    };
    for (const auto& c : cases) {
        start("12340", "100", "10");
        ASSERT_EQ(search(), "");
        // A changed field without a key release: the shown match stays.
        view.localOutput = c.lo;
        view.multiplier = c.m;
        view.stdMHz = c.std;
        EXPECT_EQ(search(), c.message) << c.lo << " " << c.m << " " << c.std;
        EXPECT_EQ(view.log, Log{"clear"});
        EXPECT_EQ(currentR, 50);
        EXPECT_EQ(prev(), c.message);
        EXPECT_EQ(view.log, (Log{"clear", "enable:Search=1"}));
        EXPECT_EQ(currentR, 50);
    }
}

TEST_F(Finder, QuotientBeyondInt64FailsAtItsStep) {
    // N is about -6.2e18 at R 1 and -1.2e19 at R 2; a negative N meets no N limit.
    start("12340", "-100", "2e-17");
    EXPECT_EQ(search(), "不正な浮動小数点数演算命令");
    EXPECT_EQ(currentR, 1);
    EXPECT_EQ(view.log, Log{"clear"});
}

TEST_F(Finder, TarvexDWithoutPrescalerFailsInTheSplit) {
    start("12340", "100", "10", 1);
    view.synthOptions.PSC = -1;
    EXPECT_EQ(search(), "ゼロによる除算");
    EXPECT_EQ(view.log, Log{"clear"});
    EXPECT_EQ(currentR, 50);
    // After a stop at a limit the split still runs and fails.
    start("8192", "1", "1", 1);
    view.synthOptions.PSC = -1;
    EXPECT_EQ(search(), "ゼロによる除算");
    EXPECT_EQ(view.log,
              (Log{"clear", "line:Ratio was not found in N of 8191 or less", "enable:Search=0"}));
}

TEST_F(Finder, AMatchAtTheLimitStepIsNotShown) {
    // N limit: every R matches, and N is 8192 already at R 1.
    start("8192", "1", "1");
    EXPECT_EQ(search(), "");
    EXPECT_EQ(view.log,
              (Log{"clear", "line:Ratio was not found in N of 8191 or less", "enable:Search=0"}));
    EXPECT_EQ(currentR, 1);
    // R limit: the first R with a whole N is 16384 (N 1).
    start("0.001", "1", "16.384");
    EXPECT_EQ(search(), "");
    EXPECT_EQ(view.log,
              (Log{"clear", "line:Ratio was not found in R of 16383 or less", "enable:Search=0"}));
    EXPECT_EQ(currentR, 16384);
    EXPECT_EQ(shownR(), "  ");
    EXPECT_EQ(latches.RefReg, 0);
    EXPECT_FALSE(view.isEnabled(FinderControl::Prev));
}

TEST_F(Finder, ClicksReturnTheMatchTheyShowOrTheirStopLine) {
    const struct {
        const char* lo;
        const char* m;
        const char* std;
        int32_t variant;
        bool prev;  // after a first search
        const char* line;
        const char* texts;  // R N A B VCO PD of the returned match
        int64_t r, n, a, b;
    } cases[] = {
        {"12340", "100", "10", 0, false, "", "50 617 0 0 123.4 200", 50, 617, 0, 0},
        {"12340", "100", "10", 1, false, "", "50 617 9 38 123.4 200", 50, 617, 9, 38},
        {"12300", "100", "1", 0, true, "", "1 123 0 0 123 1000", 1, 123, 0, 0},
        {"12340", "100", "10", 0, true, "Ratio was not found", "", 0, 0, 0, 0},
        {"8192", "1", "1", 0, false, "Ratio was not found in N of 8191 or less", "", 0, 0, 0, 0},
        {"0.001", "1", "16.384", 0, false, "Ratio was not found in R of 16383 or less", "", 0, 0, 0,
         0},
    };
    for (const auto& c : cases) {
        start(c.lo, c.m, c.std, c.variant);
        FinderOutcome out = finder.search();
        if (c.prev) {
            ASSERT_TRUE(out.match) << c.lo;
            out = finder.prev();
        }
        EXPECT_EQ(out.line, c.line) << c.lo;
        ASSERT_EQ(out.match.has_value(), *c.texts != 0) << c.lo;
        EXPECT_EQ(finder.shown().has_value(), out.match.has_value()) << c.lo;
        if (!out.match) continue;
        const RatioMatch& m = *out.match;
        EXPECT_EQ(m.rText + " " + m.nText + " " + m.aText + " " + m.bText + " " + m.vcoText + " " +
                      m.pdText,
                  c.texts);
        EXPECT_EQ((std::array<int64_t, 4>{m.r, m.n, m.a, m.b}),
                  (std::array<int64_t, 4>{c.r, c.n, c.a, c.b}));
        // The texts are those on screen.
        EXPECT_EQ(m.rText + "/" + m.nText + "/" + m.pdText,
                  shownR() + "/" + shownN() + "/" + view.shown(FinderLabel::PD));
    }
}

TEST_F(Finder, EncodingWithNoMatchOnScreenFailsAsTheBlankLabelDoes) {
    start("12340", "100", "10");
    ASSERT_EQ(search(), "");
    finder.captionInit();
    const LatchSet before = latches;
    std::string message;
    try {
        finder.calcPLLReg();
    } catch (const Error& e) {
        message = e.what();
    }
    EXPECT_EQ(message, "'  ' は整数ではありません");
    EXPECT_EQ(latches.RefReg, before.RefReg);
}

TEST_F(Finder, ReadsAndWritesTheLocaleSeparator) {
    view.separator = ",";
    start("12,5", "1", "10");
    EXPECT_EQ(search(), "");
    EXPECT_EQ(view.shown(FinderLabel::VCO), "12,5");
    EXPECT_EQ(view.shown(FinderLabel::PD), "2500");
    EXPECT_EQ(shownR() + "/" + shownN(), "4/5");
}

}  // namespace
}  // namespace tv
