// The cost of a search click, steps and all, beside the bare arithmetic of its
// steps as a plain loop: how close the click comes to what its step costs.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#if defined(__x86_64__)
#include <emmintrin.h>
#endif

#include "synth/ratio_finder.h"

namespace {

// Clicks "search" from the reset state once per iteration on a view that shows
// nothing; returns where the last click left CurrentR.
int32_t clickSearch(benchmark::State& state, const char* lo, const char* m, const char* std) {
    tv::QuietFinderView view(lo, m, std, {});
    int32_t currentR = 0;
    tv::LatchSet latches;
    tv::RatioFinder finder(view, currentR, latches);
    for (auto _ : state) {
        currentR = 0;
        benchmark::DoNotOptimize(finder.search());
        benchmark::DoNotOptimize(latches);
    }
    return currentR;
}

// 4.9 MHz against 10.000001 MHz has no whole N for any R up to the R limit
// (10000001 and 4900000 share no factor) and N stays below 8029, so the click
// takes all 16384 steps and stops at the R limit.
constexpr const char* kNoMatchLo = "4.9";
constexpr const char* kNoMatchM = "1";
constexpr const char* kNoMatchStd = "10.000001";

void BM_FullRangeSearchClick(benchmark::State& state) {
    if (clickSearch(state, kNoMatchLo, kNoMatchM, kNoMatchStd) != 16384) {
        state.SkipWithError("the search did not run the full range");
    }
    state.counters["steps"] = 16384;
}
BENCHMARK(BM_FullRangeSearchClick)->Unit(benchmark::kMicrosecond);

int64_t roundToInt64(double value) {
#if defined(__x86_64__)
    return _mm_cvtsd_si64(_mm_set_sd(value));
#else
    return std::llrint(value);
#endif
}

// The same steps with nothing around them: PD := STD / R and VCO / PD (two
// dependent divisions), the round to int64, the products and the compares
// against a match and the two limits. No reading of texts, no error checks.
int64_t plainSearch(double vco, double std, uint64_t loHz, uint64_t stdHz, uint64_t m) {
    for (int64_t r = 1;; ++r) {
        const double pd = std / static_cast<double>(r);
        const int64_t n = roundToInt64(vco / pd);
        const bool match = stdHz * static_cast<uint64_t>(n) * m == loHz * static_cast<uint64_t>(r);
        if (r > 16383 || n > 8191 || match) return r;
    }
}

void BM_FullRangePlainLoop(benchmark::State& state) {
    double vco = 4.9, std = 10.000001;
    uint64_t loHz = 4900000, stdHz = 10000001, m = 1;
    int64_t lastR = 0;
    for (auto _ : state) {
        // Opaque inputs: nothing is worked out at build time.
        benchmark::DoNotOptimize(vco);
        benchmark::DoNotOptimize(std);
        benchmark::DoNotOptimize(loHz);
        benchmark::DoNotOptimize(stdHz);
        benchmark::DoNotOptimize(m);
        lastR = plainSearch(vco, std, loHz, stdHz, m);
        benchmark::DoNotOptimize(lastR);
    }
    if (lastR != 16384) state.SkipWithError("the plain loop did not run the full range");
    state.counters["steps"] = 16384;
}
BENCHMARK(BM_FullRangePlainLoop)->Unit(benchmark::kMicrosecond);

// The start-up inputs: 50 steps, then the display step and the encoding.
void BM_TypicalSearchClick(benchmark::State& state) {
    if (clickSearch(state, "12340", "100", "10") != 50) state.SkipWithError("no match at R 50");
}
BENCHMARK(BM_TypicalSearchClick)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
