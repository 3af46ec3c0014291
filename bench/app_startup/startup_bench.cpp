// Window start-up to first shown, on Qt's offscreen platform: FormCreate (settings
// load, start-up open of a port that does not exist, its "Error" box recorded
// instead of shown), the first show and the first paint. The first run also pays
// for font loading; later runs show the steady cost.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/Unit1.h"
#include "tests/support/offscreen_window_app.h"

int main(int argc, char** argv) {
    const tv::testing::OffscreenWindowApp app(argc, argv, "startup-bench");

    std::vector<double> ms;
    for (int i = 0; i < 30; ++i) {
        QElapsedTimer t;
        t.start();
        auto form = std::make_unique<tv::TForm1>();
        form->show();
        form->repaint();  // the first paint, done at once
        QApplication::processEvents();
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    const double first = ms.front();
    std::sort(ms.begin() + 1, ms.end());
    std::printf("application object: %.2f ms\n", app.applicationMs());
    std::printf("window start-up to first shown: first %.2f ms, median of next %zu: %.2f ms\n",
                first, ms.size() - 1, ms[ms.size() / 2]);
    return 0;
}
