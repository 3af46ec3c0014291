// Start-up load and exit save of the fifteen settings on a file of normal size.
// The directory is $TV_BENCH_DIR when set (to time a particular disk), else the
// system's temporary directory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "settings/settings.h"

namespace {

std::filesystem::path benchDir() {
    const char* dir = std::getenv("TV_BENCH_DIR");
    const std::filesystem::path base = dir ? dir : std::filesystem::temp_directory_path();
    const auto path = base / ("tv_profile_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
}

// A file as the program leaves it, with a few lines of the operator's own.
std::string normalFile() {
    tv::Settings s;
    const auto dir = benchDir();
    const std::string path = tv::settingsPath(dir.string());
    std::filesystem::remove(path);
    tv::saveSettings(path, s);
    std::ofstream(path, std::ios::app) << "\n; bench notes\n[Notes]\nbench=1\n";
    return path;
}

void BM_LoadSettings(benchmark::State& state) {
    const std::string path = normalFile();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tv::loadSettings(path));
    }
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMicrosecond);

// state.range(0) entries change at each save: 0 (the usual exit), 1, or all 15.
void BM_SaveSettings(benchmark::State& state) {
    const std::string path = normalFile();
    tv::Settings s;
    const int64_t changes = state.range(0);
    for (auto _ : state) {
        if (changes >= 1) s.Version ^= 1;
        if (changes >= 15) {
            for (int32_t* v : {&s.portname, &s.BAUD, &s.Channel, &s.Pol, &s.Out, &s.current1,
                               &s.LDP, &s.AntiBackLash, &s.TimerCountCTRL, &s.CPOut, &s.PSCValue}) {
                *v ^= 1;
            }
            for (std::string* t : {&s.LocalOutput, &s.Multiplier, &s.STD}) {
                t->back() ^= 1;
            }
        }
        tv::saveSettings(path, s);
    }
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(BM_SaveSettings)->Arg(0)->Arg(1)->Arg(15)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
