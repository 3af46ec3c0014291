#pragma once
// The ratio finder: steps the reference divider R until a whole N gives the VCO
// frequency exactly in whole hertz, then shows the match and its latch words.
#include <cstdint>

#include "synth/finder_view.h"
#include "synth/synth_options.h"

namespace tv {

class RatioFinder {
public:
    // currentR and latches belong to the window; the finder works on them in place.
    RatioFinder(FinderView& view, int32_t& currentR, LatchSet& latches);

    void search();       // "search"/"next": step R upward
    void prev();         // "prev": step R downward
    void captionInit();  // "reset", any key in a frequency field, start-up
    void calcPLLReg();   // build the four latch words from the shown ratio

private:
    FinderView& m_view;
    int32_t& m_currentR;
    LatchSet& m_latches;
};

}  // namespace tv
