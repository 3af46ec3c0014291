// The serial line's two speed figures: the round trip from writebyte to the
// receive handler of the reply on the UI thread, and the CPU an open port's
// monitor spends while it waits.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "pty_pair.h"
#include "serial/rs232c.h"
#include "serial/serial_os_linux.h"

#ifdef TV_BENCH_QT
#include <QCoreApplication>

#include "qt_ui_poster.h"
#else
#include "serial/post_queue.h"
#endif

namespace tv {
namespace {

using Clock = std::chrono::steady_clock;

// The UI thread's loop: Qt's when the glue is built, else the plain queue.
class UiLoop {
public:
#ifdef TV_BENCH_QT
    UiPosterFactory factory() { return qtUiPosterFactory(); }
    void runOnce() { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100); }
#else
    UiPosterFactory factory() { return m_queue.factory(); }
    void runOnce() { m_queue.waitAndRun(std::chrono::milliseconds(100)); }

private:
    PostQueue m_queue;
#endif
};

// The far end: answers every byte with itself, as the unit does.
class Echo {
public:
    explicit Echo(int master) : m_thread([this, master] { run(master); }) {}
    ~Echo() {
        m_stop = true;
        m_thread.join();
    }

private:
    void run(int master) {
        uint8_t buf[64];
        while (!m_stop) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0 && ::write(master, buf, static_cast<size_t>(n)) != n) return;
        }
    }
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

void BM_RoundTripToHandler(benchmark::State& state) {
    test::PtyPair pty;
    UiLoop loop;
    Trs232c rs{std::make_unique<LinuxSerialOs>(), loop.factory()};
    rs.portname = pty.path();
    bool replied = false;
    rs.OnRXCHAR = [&](Trs232c& sender) {
        uint8_t b = 0;
        while (sender.rxcount() > 0 && sender.readbyte(b)) replied = true;
    };
    if (!rs.open()) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    Echo echo(pty.masterFd());
    std::vector<double> samples;
    uint8_t next = 0;
    for (auto _ : state) {
        replied = false;
        const auto start = Clock::now();
        rs.writebyte(next++);
        while (!replied) loop.runOnce();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        samples.push_back(seconds);
    }
    std::sort(samples.begin(), samples.end());
    state.counters["median_us"] = samples[samples.size() / 2] * 1e6;
    state.counters["p99_us"] = samples[samples.size() * 99 / 100] * 1e6;
    rs.close();
}
BENCHMARK(BM_RoundTripToHandler)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

double processCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

void BM_IdleMonitorCpu(benchmark::State& state) {
    test::PtyPair pty;
    UiLoop loop;
    Trs232c rs{std::make_unique<LinuxSerialOs>(), loop.factory()};
    rs.portname = pty.path();
    rs.OnRXCHAR = [](Trs232c&) {};
    if (!rs.open()) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    pty.send({1, 2, 3});  // left unread: it must not keep the monitor awake
    for (auto _ : state) {
        const double cpuBefore = processCpuSeconds();
        const auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(10));
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpu = processCpuSeconds() - cpuBefore;
        state.SetIterationTime(wall);
        state.counters["cpu_percent"] = 100.0 * cpu / wall;
    }
    rs.close();
}
BENCHMARK(BM_IdleMonitorCpu)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace tv

int main(int argc, char** argv) {
#ifdef TV_BENCH_QT
    QCoreApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
