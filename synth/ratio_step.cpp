#include "synth/ratio_step.h"

#include "synth/errors.h"
#include "synth/float_check.h"

namespace tv {
namespace {

uint64_t wrap(int64_t v) { return static_cast<uint64_t>(v); }

}  // namespace

RatioStep takeStep(const FinderInputs& in, int64_t r) {
    const double multiplier = in.multiplier;         // exact: every int32 is a double
    const double divider = static_cast<double>(r);  // exact: R stays far below 2^53
    RatioStep s;
    s.vco = divideInOrder(in.localOutput.megahertz, multiplier);
    s.pd = divideInOrder(in.std.megahertz, divider);
    s.nQuotient = divideInOrder(s.vco, s.pd);
    // One flag test for the three divisions keeps a full search click cheap; the
    // flags were clear on entry, so a raised one belongs to this step.
    if (floatErrorRaised()) {
        // Rare: redo the step one checked operation at a time so that the error
        // reported is that of the first operation that raised a flag.
        clearFloatErrors();
        const double vco = checkedDivide(in.localOutput.megahertz, multiplier);
        const double pd = checkedDivide(in.std.megahertz, divider);
        checkedDivide(vco, pd);
    }
    s.n = roundToInt64(s.nQuotient);
    // Signed 64-bit products that ignore overflow: unsigned arithmetic gives the
    // same bits without undefined behaviour.
    s.match = wrap(in.std.hertz) * wrap(s.n) * wrap(in.multiplier) ==
              wrap(in.localOutput.hertz) * wrap(r);
    return s;
}

Counters splitCounters(int64_t n, const SynthOptions& options) {
    int64_t p = 0;  // stays 0 when no PSC item is selected
    if (options.PSC >= 0 && options.PSC <= 3) p = int64_t{8} << options.PSC;
    Counters counters;
    if (options.Variant == 1) {
        if (p == 0) throw Error("ゼロによる除算");
        // C++ truncates the quotient toward zero and gives the remainder the sign of N.
        counters.a = n % p;
        counters.b = n / p;
    }
    return counters;
}

}  // namespace tv
