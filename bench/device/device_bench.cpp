// The "save" button: the header text alone, and the whole export to a file.
// The directory is $TV_BENCH_DIR when set, else the system's temporary directory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "device/header_export.h"

namespace {

tv::ChannelTable fullTable() {
    tv::ChannelTable table;
    for (int c = 0; c < tv::ChannelTable::kChannels; ++c) {
        table.InitReg[c] = 0x09F993;
        table.RefReg[c] = 0x000C80 + c;
        table.NReg[c] = 0x026901;
        table.FuncReg[c] = 0x09F992;
        table.description[c] = "12340MHz, STD=10MHz, PD=200kHz, I=2.50mA";
    }
    return table;
}

void BM_HeaderText(benchmark::State& state) {
    const tv::ChannelTable table = fullTable();
    std::tm local{};
    local.tm_year = 110;
    local.tm_mon = 11;
    local.tm_mday = 31;
    local.tm_hour = 23;
    local.tm_min = 59;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tv::headerText(table, local));
    }
}
BENCHMARK(BM_HeaderText);

void BM_ExportHeader(benchmark::State& state) {
    const char* env = std::getenv("TV_BENCH_DIR");
    const std::filesystem::path base = env ? env : std::filesystem::temp_directory_path();
    const auto dir = base / ("tv_header_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const tv::ChannelTable table = fullTable();
    const tv::SystemClock clock;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tv::exportHeader(table, dir.string(), clock));
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ExportHeader)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
