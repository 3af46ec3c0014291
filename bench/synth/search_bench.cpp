// The cost of a search click, steps and all.
#include <benchmark/benchmark.h>

#include "synth/ratio_finder.h"

namespace {

// A screen that shows nothing: what is timed is the finder's own work.
class NullView : public tv::FinderView {
public:
    NullView(const char* lo, const char* m, const char* std) : m_lo(lo), m_m(m), m_std(std) {}
    std::string localOutputText() const override { return m_lo; }
    std::string multiplierText() const override { return m_m; }
    std::string stdText() const override { return m_std; }
    tv::SynthOptions options() const override { return {}; }
    std::string decimalSeparator() const override { return "."; }
    void clearStatus() override {}
    void addStatusLine(const std::string&) override {}
    void setSearchCaption(const std::string&) override {}
    void setLabel(tv::FinderLabel l, const std::string& text) override {
        m_labels[static_cast<size_t>(l)] = text;
    }
    std::string label(tv::FinderLabel l) const override { return m_labels[static_cast<size_t>(l)]; }
    void setResult(tv::ResultEdit, const std::string&) override {}
    void setEnabled(tv::FinderControl, bool) override {}

private:
    std::string m_lo, m_m, m_std;
    std::string m_labels[6];
};

// Clicks "search" from the reset state once per iteration; returns where the
// last click left CurrentR.
int32_t clickSearch(benchmark::State& state, const char* lo, const char* m, const char* std) {
    NullView view(lo, m, std);
    int32_t currentR = 0;
    tv::LatchSet latches;
    tv::RatioFinder finder(view, currentR, latches);
    for (auto _ : state) {
        currentR = 0;
        finder.search();
        benchmark::DoNotOptimize(currentR);
        benchmark::DoNotOptimize(latches);
    }
    return currentR;
}

// 4.9 MHz against 10.000001 MHz has no whole N for any R up to the R limit
// (10000001 and 4900000 share no factor) and N stays below 8029, so the click
// takes all 16384 steps and stops at the R limit.
void BM_FullRangeSearchClick(benchmark::State& state) {
    if (clickSearch(state, "4.9", "1", "10.000001") != 16384) {
        state.SkipWithError("the search did not run the full range");
    }
    state.counters["steps"] = 16384;
}
BENCHMARK(BM_FullRangeSearchClick)->Unit(benchmark::kMicrosecond);

// The start-up inputs: 50 steps, then the display step and the encoding.
void BM_TypicalSearchClick(benchmark::State& state) {
    if (clickSearch(state, "12340", "100", "10") != 50) state.SkipWithError("no match at R 50");
}
BENCHMARK(BM_TypicalSearchClick)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
