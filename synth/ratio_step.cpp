#include "synth/ratio_step.h"

#include "synth/errors.h"

namespace tv {

void reportStepFloatError(const FinderInputs& in, int64_t r) {
    const int raised = std::fetestexcept(kFloatErrorFlags);
    clearFloatErrors();
    const double vco = checkedDivide(in.localOutput.megahertz, in.multiplier);
    const double pd = checkedDivide(in.std.megahertz, static_cast<double>(r));
    checkedDivide(vco, pd);
    // Not reached: the same divisions raise the same flags again. Should they
    // not, what the step's own test saw is reported.
    std::feraiseexcept(raised);
    throwOnFloatError();
    throwInvalidOperation();
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
