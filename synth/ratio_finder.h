#pragma once
// The ratio finder: steps the reference divider R until a whole N gives the VCO
// frequency exactly in whole hertz, then shows the match and its latch words.
#include <cstdint>

#include "synth/finder_view.h"
#include "synth/synth_options.h"

namespace tv {

struct FinderInputs;  // synth/ratio_step.h
struct RatioStep;

class RatioFinder {
public:
    static constexpr int64_t kRLimit = 16383;  // the search stops above this R
    static constexpr int64_t kNLimit = 8191;   // ... and at the first N above this

    // currentR and latches belong to the window; the finder works on them in place.
    RatioFinder(FinderView& view, int32_t& currentR, LatchSet& latches);

    void search();       // "search"/"next": step R upward
    void prev();         // "prev": step R downward
    void captionInit();  // "reset", any key in a frequency field, start-up
    void calcPLLReg();   // build the four latch words from the shown ratio

private:
    FinderInputs readInputs() const;
    // The split into A and B, then the display step when `shown`.
    void finish(const FinderInputs& inputs, const RatioStep& step, int64_t r, bool shown);

    FinderView& m_view;
    int32_t& m_currentR;
    LatchSet& m_latches;
};

}  // namespace tv
