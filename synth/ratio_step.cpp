#include "synth/ratio_step.h"

#include "os/errors.h"

namespace tv {

int64_t RatioStepper::checkedStep(int64_t r) const {
    const double pd = checkedDivide(m_std, static_cast<double>(r));
    return roundToInt64(checkedDivide(m_vco, pd));
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
