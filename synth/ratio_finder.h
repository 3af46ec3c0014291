#pragma once
// The ratio finder: steps the reference divider R until a whole N gives the VCO
// frequency exactly in whole hertz, then shows the match and its latch words.
// Each click returns what it ended with, so callers that show nothing (tvcalc,
// the benchmarks) use the same values the window shows.
#include <cstdint>
#include <optional>
#include <string>

#include "synth/finder_view.h"
#include "synth/synth_options.h"

namespace tv {

struct FinderInputs;  // synth/ratio_step.h
struct RatioStep;

// The values of the step that matched, and the texts the value labels show for
// them (Label10, Label9, Label18, Label20, Label4, Label11).
struct RatioMatch {
    int64_t r = 0;
    int64_t n = 0;  // nQuotient rounded
    int64_t a = 0;
    int64_t b = 0;
    double vco = 0;        // MHz
    double pd = 0;         // MHz
    double nQuotient = 0;  // VCO / PD
    std::string rText, nText, aText, bText, vcoText;
    std::string pdText;  // in kHz
};

// What a click ended with: a match, shown and encoded, or the status line of a
// stop ("Ratio was not found ..."). A click that fails throws instead.
struct FinderOutcome {
    std::optional<RatioMatch> match;
    std::string line;
};

class RatioFinder {
public:
    static constexpr int64_t kRLimit = 16383;  // the search stops above this R
    static constexpr int64_t kNLimit = 8191;   // ... and at the first N above this

    // currentR and latches belong to the window; the finder works on them in place.
    RatioFinder(FinderView& view, int32_t& currentR, LatchSet& latches);

    FinderOutcome search();  // "search"/"next": step R upward
    FinderOutcome prev();    // "prev": step R downward
    void captionInit();      // "reset", any key in a frequency field, start-up
    // Builds the four latch words from the match on screen; with none on screen it
    // fails as converting the blank R label does.
    void calcPLLReg();

    // The match on screen, if any.
    const std::optional<RatioMatch>& shown() const { return m_shown; }
    // The match the last click showed, also when its encoding then failed (a
    // negative N); null when that click showed none.
    const RatioMatch* clickMatch() const { return m_clickShowed ? &*m_shown : nullptr; }

    // With `skip`, search and prev go on past a match whose counters break the
    // chip's rules (synth/counter_rules.h) as past a step that does not match;
    // the limits stay as they are. Off unless set: the window shows every match.
    void setSkipBrokenRules(bool skip) { m_skipBrokenRules = skip; }

private:
    FinderInputs readInputs() const;
    // Whether a step that matched at R ends the loop.
    bool takes(const RatioStep& step, int64_t r, const SynthOptions& options) const;
    // The options the loop's rule test needs, read only when it runs.
    SynthOptions loopOptions() const;
    // The split into A and B, then, when the loop did not stop with `stopLine`,
    // the display step.
    FinderOutcome finish(const FinderInputs& inputs, const RatioStep& step, int64_t r,
                         const char* stopLine);

    FinderView& m_view;
    int32_t& m_currentR;
    LatchSet& m_latches;
    std::optional<RatioMatch> m_shown;
    bool m_clickShowed = false;
    bool m_skipBrokenRules = false;
};

}  // namespace tv
