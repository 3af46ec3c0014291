#include "synth/ratio_finder.h"

#include <string>

#include "os/hex_text.h"
#include "synth/counter_rules.h"
#include "synth/float_check.h"
#include "synth/latch_encoding.h"
#include "synth/number_format.h"
#include "synth/number_parse.h"
#include "synth/ratio_step.h"

namespace tv {
namespace {

constexpr const char* kRLimitLine = "Ratio was not found in R of 16383 or less";
constexpr const char* kNLimitLine = "Ratio was not found in N of 8191 or less";
constexpr const char* kPrevNotFoundLine = "Ratio was not found";
constexpr const char* kBlankLabel = "  ";

// A counter as the encoder takes it. One outside int32 fails as its decimal
// text would in the integer conversion, with the same message.
int32_t counterValue(int64_t value) {
    if (value >= INT32_MIN && value <= INT32_MAX) return static_cast<int32_t>(value);
    return parseInt32(decimalText(value));
}

RatioMatch describeMatch(const RatioStep& step, int64_t r, const Counters& parts,
                         const std::string& separator) {
    RatioMatch m;
    m.r = r;
    m.n = step.n;
    m.a = parts.a;
    m.b = parts.b;
    m.vco = step.vco;
    m.pd = step.pd;
    m.nQuotient = step.nQuotient;
    m.rText = decimalText(r);
    m.nText = floatText(step.nQuotient, separator);
    m.aText = decimalText(parts.a);
    m.bText = decimalText(parts.b);
    m.vcoText = floatText(step.vco, separator);
    // The kHz value, multiplied with the 64-bit mantissa; a finite double times
    // 1000 cannot overflow there.
    m.pdText = floatText(checkedMultiply(step.pd, 1000.0L), separator);
    return m;
}

}  // namespace

RatioFinder::RatioFinder(FinderView& view, int32_t& currentR, LatchSet& latches)
    : m_view(view), m_currentR(currentR), m_latches(latches) {}

FinderInputs RatioFinder::readInputs() const {
    FinderInputs in;
    in.decimalSeparator = m_view.decimalSeparator();
    in.localOutput = readFrequency(m_view.localOutputText(), in.decimalSeparator);
    in.multiplier = parseInt32(m_view.multiplierText());
    in.std = readFrequency(m_view.stdText(), in.decimalSeparator);
    return in;
}

SynthOptions RatioFinder::loopOptions() const {
    return m_skipBrokenRules ? m_view.options() : SynthOptions{};
}

bool RatioFinder::takes(const RatioStep& step, int64_t r, const SynthOptions& options) const {
    if (!m_skipBrokenRules) return true;
    // Tarvex D without a PSC item has no split: the loop takes the match, and the
    // split after it fails as it does without the rule test.
    if (options.Variant == 1 && (options.PSC < 0 || options.PSC > 3)) return true;
    const Counters parts = splitCounters(step.n, options);
    return brokenCounterRules(options.Variant, r, step.n, parts.a, parts.b).empty();
}

FinderOutcome RatioFinder::search() {
    int64_t r = m_currentR;
    m_clickShowed = false;
    m_view.clearStatus();
    const FinderInputs in = readInputs();
    const SynthOptions options = loopOptions();

    const RatioStepper stepper(in);
    RatioStep step;
    const char* stopLine = nullptr;
    for (;;) {
        ++r;
        // The step stays in registers; only the last one is kept.
        const RatioStep taken = stepper.at(r);
        m_currentR = static_cast<int32_t>(r);
        // Both limits are tested after the match test; a match found at the very
        // step that reaches a limit is not shown, as its R (16384) or N (above
        // 8191) does not fit the chip's field.
        stopLine = r > kRLimit ? kRLimitLine : taken.n > kNLimit ? kNLimitLine : nullptr;
        if (stopLine != nullptr || (taken.match && takes(taken, r, options))) {
            step = taken;
            break;
        }
    }
    if (stopLine != nullptr) {
        m_view.addStatusLine(stopLine);
        m_view.setEnabled(FinderControl::Search, false);
    }
    return finish(in, step, r, stopLine);
}

FinderOutcome RatioFinder::prev() {
    int64_t r = m_currentR;
    m_clickShowed = false;
    m_view.clearStatus();
    m_view.setEnabled(FinderControl::Search, true);
    const FinderInputs in = readInputs();
    const SynthOptions options = loopOptions();

    const auto lower = [&] {
        --r;
        // R never goes below 1; "< 1" rather than "== 0" also keeps a prev from
        // the reset state (CurrentR 0, where the button is disabled) from running away.
        if (r < 1) {
            m_view.setEnabled(FinderControl::Prev, false);
            r = 1;
        }
    };
    lower();
    const RatioStepper stepper(in);
    for (;;) {
        const RatioStep step = stepper.at(r);
        m_currentR = static_cast<int32_t>(r);
        if (step.match && takes(step, r, options)) return finish(in, step, r, nullptr);
        if (r == 1) {
            captionInit();
            m_view.addStatusLine(kPrevNotFoundLine);
            return finish(in, step, r, kPrevNotFoundLine);
        }
        lower();
    }
}

FinderOutcome RatioFinder::finish(const FinderInputs& in, const RatioStep& step, int64_t r,
                                  const char* stopLine) {
    // The split comes after the loop whether or not anything is shown, so its
    // error (Tarvex D with no PSC) ends the click even after a failed search.
    const Counters parts = splitCounters(step.n, m_view.options());
    if (stopLine != nullptr) return {std::nullopt, stopLine};

    m_shown = describeMatch(step, r, parts, in.decimalSeparator);
    m_clickShowed = true;
    const RatioMatch& m = *m_shown;
    m_view.setSearchCaption("next");
    m_view.setLabel(FinderLabel::VCO, m.vcoText);
    m_view.setLabel(FinderLabel::PD, m.pdText);
    m_view.setLabel(FinderLabel::N, m.nText);
    m_view.setLabel(FinderLabel::R, m.rText);
    m_view.setLabel(FinderLabel::A, m.aText);
    m_view.setLabel(FinderLabel::B, m.bText);
    m_view.setEnabled(FinderControl::Prev, true);
    calcPLLReg();
    m_view.setResult(ResultEdit::RefReg, hexText(m_latches.RefReg));
    m_view.setResult(ResultEdit::NReg, hexText(m_latches.NReg));
    m_view.setResult(ResultEdit::InitReg, hexText(m_latches.InitReg));
    m_view.setResult(ResultEdit::FuncReg, hexText(m_latches.FuncReg));
    return {m_shown, ""};
}

void RatioFinder::captionInit() {
    m_currentR = 0;
    m_shown.reset();
    m_clickShowed = false;
    m_view.clearStatus();
    m_view.setSearchCaption("search");
    for (FinderLabel label : {FinderLabel::VCO, FinderLabel::PD, FinderLabel::N, FinderLabel::R,
                              FinderLabel::A, FinderLabel::B}) {
        m_view.setLabel(label, kBlankLabel);
    }
    m_view.setEnabled(FinderControl::Prev, false);
    m_view.setEnabled(FinderControl::Search, true);
    m_view.setEnabled(FinderControl::Reset, true);
    for (ResultEdit edit :
         {ResultEdit::RefReg, ResultEdit::NReg, ResultEdit::InitReg, ResultEdit::FuncReg}) {
        m_view.setResult(edit, "");
    }
    m_view.setEnabled(FinderControl::MemoryChannel, true);
    m_view.setEnabled(FinderControl::Variant, false);
}

void RatioFinder::calcPLLReg() {
    const SynthOptions options = m_view.options();
    // With no match on screen the R label is blank, and its conversion fails.
    const int32_t r = m_shown ? counterValue(m_shown->r) : parseInt32(kBlankLabel);
    const RatioMatch& m = *m_shown;
    // RefReg is stored before N, A and B are taken, so a failure there leaves the
    // new RefReg beside the previous three words.
    m_latches.RefReg = refRegWord(r, options);
    // N is the integer conversion of the N text as shown, not the rounded N: a
    // quotient whose text carries decimals fails here with that text.
    const int32_t n = parseInt32(m.nText);
    const int32_t a = counterValue(m.a);
    const int32_t b = counterValue(m.b);
    checkCountersFit(n, a, b, options.Variant);
    m_latches.NReg = nRegWord(n, a, b, options.Variant);
    m_latches.InitReg = initRegWord(options);
    m_latches.FuncReg = funcRegWord(options);
}

}  // namespace tv
