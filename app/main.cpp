// tvconfig: configurator for Tarvex local-oscillator units.
#include <QApplication>

#include "app/Unit1.h"
#include "app/quit_on_signal.h"
#include "app/tv_application.h"

int main(int argc, char* argv[]) {
    tv::TvApplication app(argc, argv);
    tv::TForm1 form;  // FormCreate runs here, before the window is first shown
    tv::closeOnTerminationSignals(&form);
    form.show();
    return app.exec();
}
