// A unit that floods the line: tvunit answers "Dump" with 1 MiB as fast as a
// pseudo-terminal carries it, into the real window. Reports the longest gap
// between the ticks of a 100 ms timer while the bytes pour in (how long the
// event loop stood still) and the process's peak resident size over the flood.
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/Unit1.h"
#include "tests/support/offscreen_window_app.h"
#include "tests/support/unit_process.h"

namespace {

// The peak resident size since the last reset, in MiB (VmHWM).
long peakMiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            long kb = 0;
            status >> kb;
            return kb / 1024;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

}  // namespace

int main(int argc, char** argv) {
    const tv::testing::OffscreenWindowApp app(argc, argv, "flood-bench");

    constexpr int kFlood = 1 << 20;
    tv::testing::UnitProcess unit({"--flood", std::to_string(kFlood)},
                                  (app.dir() / "unit.log").string());
    ::setenv("TVCONFIG_COM1", unit.path().c_str(), 1);
    tv::TForm1 form;
    resetPeak();

    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longestGap = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    ticks.start(100);
    QTest::mouseClick(form.Button11, Qt::LeftButton);  // the first answer sets off the flood
    while (form.deviceLink().BufferPos < kFlood + 2 && clock.elapsed() < 120000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    ticks.stop();
    const bool complete = form.deviceLink().BufferPos >= kFlood + 2;
    std::printf(
        "1 MiB flood: %s in %.2f s; longest gap between 100 ms ticks %lld ms; "
        "peak resident %ld MiB; Memo2 %lld characters\n",
        complete ? "received" : "NOT received", static_cast<double>(clock.elapsed()) / 1e3,
        static_cast<long long>(longestGap), peakMiB(),
        static_cast<long long>(form.Memo2->toPlainText().size()));
    return complete ? 0 : 1;
}
