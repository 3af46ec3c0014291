// A "Write" (W, CR and the 128 image bytes, each waiting for its reply) from the
// real window to tvunit on a pseudo-terminal, with no added delay. Reports the
// whole command's time and the median round trip, taken from tvunit's log as
// the time between one byte's arrival and the next's.
//
// After each Write a read-back as the window does it: "Dump", then the events
// run until the unit's memory is in, then "View Buffer".
//
// `bench_app_write --wire BAUD` runs the same against `tvunit --wire BAUD`, a unit
// paced as a serial line at BAUD bit/s, and sets the Write beside the line's own
// time: 130 round trips x 2 bytes x 10 bits / BAUD (270.8 ms at 9600 bit/s).
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "tests/support/offscreen_window_app.h"
#include "tests/support/unit_process.h"

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const tv::testing::OffscreenWindowApp app(argc, argv, "write-bench");
    long baud = 0;  // 0: tvunit answers as fast as it can
    if (argc == 3 && std::strcmp(argv[1], "--wire") == 0) {
        baud = std::strtol(argv[2], nullptr, 10);
    }
    if (argc != 1 && baud <= 0) {
        std::fprintf(stderr, "usage: %s [--wire BAUD]\n", argv[0]);
        return 2;
    }
    std::vector<std::string> unitOptions;
    if (baud > 0) unitOptions = {"--wire", std::to_string(baud)};

    // A paced Write takes about 0.3 s, so fewer of them.
    const int writes = baud > 0 ? 10 : 20;
    std::vector<double> writeMs;
    std::vector<double> roundTripUs;
    std::vector<double> readBackMs;  // Dump click to the memory in and View Buffer
    for (int i = 0; i < writes; ++i) {
        const std::string log = (app.dir() / "unit.log").string();
        std::filesystem::remove(log);
        tv::testing::UnitProcess unit(unitOptions, log);
        ::setenv("TVCONFIG_COM1", unit.path().c_str(), 1);
        tv::TForm1 form;
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(form.Button6, Qt::LeftButton);
        writeMs.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);

        long long lastRx = -1;
        for (const auto& e : unit.log()) {
            if (!e.received) continue;
            if (lastRx >= 0) roundTripUs.push_back(static_cast<double>(e.ns - lastRx) / 1e3);
            lastRx = e.ns;
        }
        if (form.deviceLink().BufferPos != 130) {
            std::fprintf(stderr, "the Write did not complete: %d replies\n",
                         form.deviceLink().BufferPos);
            return 1;
        }
        // The window's read-back: "Dump", the events run until the echoes of D and
        // CR and the 128 bytes of memory are in, then "View Buffer" compares.
        t.restart();
        QTest::mouseClick(form.Button11, Qt::LeftButton);
        while (form.deviceLink().BufferPos < 130 && t.elapsed() < 3000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        QTest::mouseClick(form.Button13, Qt::LeftButton);
        readBackMs.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        if (form.deviceLink().BufferPos < 130) {
            std::fprintf(stderr, "the Dump brought %d of 130 bytes\n", form.deviceLink().BufferPos);
            return 1;
        }
    }
    std::printf(
        "Write of 130 handshake round trips against tvunit%s: median %.2f ms, best %.2f ms, "
        "worst %.2f ms over %d runs\n",
        baud > 0 ? (" --wire " + std::to_string(baud)).c_str() : "", median(writeMs),
        *std::min_element(writeMs.begin(), writeMs.end()),
        *std::max_element(writeMs.begin(), writeMs.end()), writes);
    if (baud > 0) {
        // Each round trip is one byte each way, 10 bits a byte with start and stop bit.
        const double lineMs = 130.0 * 2 * 10 * 1000 / static_cast<double>(baud);
        std::printf("the line itself: %.1f ms; the median Write is %+.1f %% of it\n", lineMs,
                    (median(writeMs) / lineMs - 1) * 100);
        // D, its reply, CR, the CR's echo and the 128 bytes of memory.
        const double dumpLineMs = 132.0 * 10 * 1000 / static_cast<double>(baud);
        std::printf(
            "read-back (Dump to the memory in, View Buffer): median %.1f ms against the line's "
            "%.1f ms (%.3fx); Write and read-back %.1f ms against %.1f ms (%.3fx)\n",
            median(readBackMs), dumpLineMs, median(readBackMs) / dumpLineMs,
            median(writeMs) + median(readBackMs), lineMs + dumpLineMs,
            (median(writeMs) + median(readBackMs)) / (lineMs + dumpLineMs));
    }
    std::printf("round trip (byte arrival to next byte arrival at the unit): median %.1f us\n",
                median(roundTripUs));
    return 0;
}
