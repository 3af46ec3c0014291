// The whole tvcalc process, start to exit: `tvcalc --all --tsv 12340 100 10`.
#include <benchmark/benchmark.h>

#include "tests/support/child_process.h"

namespace {

void BM_TvcalcAllTsvProcess(benchmark::State& state) {
    using tv::test::ChildProcess;
    const std::vector<std::string> args{"--all", "--tsv", "12340", "100", "10"};
    const ChildProcess::Options quiet{
        ChildProcess::Output::Discard, ChildProcess::Output::Discard, {}};
    for (auto _ : state) {
        ChildProcess tvcalc(TVCALC_PATH, args, quiet);
        const tv::test::ChildEnd end = tvcalc.wait();
        if (!tvcalc.started() || end.exitCode != 0) {
            state.SkipWithError("tvcalc did not run and exit 0");
            break;
        }
    }
}
BENCHMARK(BM_TvcalcAllTsvProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
