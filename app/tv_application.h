#pragma once
// The application object. Its notify() is the last guard: an error that escapes
// any event handler is shown in the standard error box instead of crossing Qt's
// event loop, and the program goes on.
#include <QApplication>

namespace tv {

class TvApplication : public QApplication {
public:
    TvApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace tv
