// The receive path of the real window: bytes arriving on the port (the recording
// fake, so the line's own speed is out of the figure) through the monitor, the
// link's receive handler and its turns, to the hexadecimal text in Memo2.
// Reports bytes per second and the longest time the event loop stood still.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <vector>

#include "app/Unit1.h"
#include "tests/support/offscreen_window_app.h"
#include "tests/support/serial_os_fake.h"

namespace tv {
namespace {

void BM_ReceiveToMemo2(benchmark::State& state) {
    const auto total = static_cast<size_t>(state.range(0));
    auto os = std::make_unique<FakeSerialOs>();
    FakeSerialOs& fake = *os;
    TForm1 form(std::move(os));
    std::vector<uint8_t> bytes(total);
    for (size_t i = 0; i < total; ++i) bytes[i] = static_cast<uint8_t>(i);
    qint64 longestTurnMs = 0;
    for (auto _ : state) {
        const int32_t before = form.deviceLink().BufferPos;
        fake.injectBytes(bytes);
        QElapsedTimer turn;
        while (form.deviceLink().BufferPos - before < static_cast<int32_t>(total)) {
            turn.start();
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
            longestTurnMs = std::max(longestTurnMs, turn.elapsed());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(total));
    state.counters["longest_turn_ms"] = static_cast<double>(longestTurnMs);
    state.counters["memo2_chars"] = static_cast<double>(form.Memo2->toPlainText().size());
}
BENCHMARK(BM_ReceiveToMemo2)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tv

int main(int argc, char** argv) {
    const tv::testing::OffscreenWindowApp app(argc, argv, "receive-bench");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
