#include "synth/ratio_finder.h"

#include <string>

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

void RatioFinder::search() {
    bool found = false;
    int64_t r = m_currentR;
    m_view.clearStatus();
    const FinderInputs in = readInputs();

    clearFloatErrors();
    RatioStep step;
    bool atLimit = false;
    while (!found) {
        ++r;
        step = takeStep(in, r);
        m_currentR = static_cast<int32_t>(r);
        found = step.match;
        // Both limits are tested after the match test; a match found at the very
        // step that reaches a limit is not shown, as its R (16384) or N (above
        // 8191) does not fit the chip's field.
        const char* limitLine = r > kRLimit        ? kRLimitLine
                                : step.n > kNLimit ? kNLimitLine
                                                   : nullptr;
        if (limitLine != nullptr) {
            m_view.addStatusLine(limitLine);
            m_view.setEnabled(FinderControl::Search, false);
            atLimit = true;
            break;
        }
    }
    finish(in, step, r, found && !atLimit);
}

void RatioFinder::prev() {
    bool found = false;
    int64_t r = m_currentR;
    m_view.clearStatus();
    m_view.setEnabled(FinderControl::Search, true);
    const FinderInputs in = readInputs();

    clearFloatErrors();
    RatioStep step;
    while (!found) {
        --r;
        // R never goes below 1; "< 1" rather than "== 0" also keeps a prev from
        // the reset state (CurrentR 0, where the button is disabled) from running away.
        if (r < 1) {
            m_view.setEnabled(FinderControl::Prev, false);
            r = 1;
        }
        step = takeStep(in, r);
        m_currentR = static_cast<int32_t>(r);
        found = step.match;
        if (!found && r == 1) {
            captionInit();
            m_view.addStatusLine(kPrevNotFoundLine);
            break;
        }
    }
    finish(in, step, r, found);
}

void RatioFinder::finish(const FinderInputs& in, const RatioStep& step, int64_t r, bool shown) {
    // The split comes after the loop whether or not anything is shown, so its
    // error (Tarvex D with no PSC) ends the click even after a failed search.
    const Counters parts = splitCounters(step.n, m_view.options());
    if (!shown) return;

    const std::string& separator = in.decimalSeparator;
    m_view.setSearchCaption("next");
    m_view.setLabel(FinderLabel::VCO, floatText(step.vco, separator));
    // The kHz value, multiplied with the 64-bit mantissa.
    m_view.setLabel(FinderLabel::PD, floatText(checkedMultiply(step.pd, 1000.0L), separator));
    m_view.setLabel(FinderLabel::N, floatText(step.nQuotient, separator));
    m_view.setLabel(FinderLabel::R, decimalText(r));
    m_view.setLabel(FinderLabel::A, decimalText(parts.a));
    m_view.setLabel(FinderLabel::B, decimalText(parts.b));
    m_view.setEnabled(FinderControl::Prev, true);
    calcPLLReg();
    m_view.setResult(ResultEdit::RefReg, hexText(m_latches.RefReg));
    m_view.setResult(ResultEdit::NReg, hexText(m_latches.NReg));
    m_view.setResult(ResultEdit::InitReg, hexText(m_latches.InitReg));
    m_view.setResult(ResultEdit::FuncReg, hexText(m_latches.FuncReg));
}

void RatioFinder::captionInit() {
    m_currentR = 0;
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
    // RefReg is stored before the N, A and B texts are read, so a failure there
    // leaves the new RefReg beside the previous three words.
    m_latches.RefReg = refRegWord(parseInt32(m_view.label(FinderLabel::R)), options);
    const int32_t n = parseInt32(m_view.label(FinderLabel::N));
    const int32_t a = parseInt32(m_view.label(FinderLabel::A));
    const int32_t b = parseInt32(m_view.label(FinderLabel::B));
    checkCountersFit(n, a, b, options.Variant);
    m_latches.NReg = nRegWord(n, a, b, options.Variant);
    m_latches.InitReg = initRegWord(options);
    m_latches.FuncReg = funcRegWord(options);
}

}  // namespace tv
