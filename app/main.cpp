// tvconfig: configurator for Tarvex local-oscillator units.
#include <QApplication>

#include "app/Unit1.h"
#include "app/quit_on_signal.h"
#include "app/tv_application.h"
#include "os/file_size_limit.h"

int main(int argc, char* argv[]) {
    // Past a file-size limit the header export and the settings save fail with
    // their error boxes, like on a full disk, instead of the program being killed.
    tv::ignoreFileSizeLimitSignal();
    tv::TvApplication app(argc, argv);
    tv::TForm1 form;  // FormCreate runs here, before the window is first shown
    form.loadHeaderArguments(app.arguments().mid(1));  // `tvconfig HEADER`
    tv::closeOnTerminationSignals(&form);
    form.show();
    return app.exec();
}
