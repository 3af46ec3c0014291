#include "app/tv_application.h"

#include <QFont>
#include <clocale>

#include "app/dialogs.h"
#include "app/error_guard.h"
#include "app/window_fonts.h"

namespace tv {

TvApplication::TvApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The header export's date and time follow the user's locale. Numbers are read
    // and written by our own code with the separator of QLocale::system(), so the
    // C library keeps "." and no library conversion changes under our feet.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    setApplicationName(applicationTitle());
    QFont f(windowFontFamilies().proportional);
    f.setPixelSize(12);
    setFont(f);
}

bool TvApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    guarded(nullptr, [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace tv
