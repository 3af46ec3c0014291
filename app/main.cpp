// tvconfig: configurator for Tarvex local-oscillator units.
#include <QApplication>

#include "app/Unit1.h"
#include "app/close_request.h"
#include "app/tv_application.h"
#include "os/file_size_limit.h"

int main(int argc, char* argv[]) {
    // Before anything else: Ctrl+C, SIGTERM or the end of the session in the
    // first moments must still save the settings and end, not kill the program.
    tv::catchCloseRequests();
    // Past a file-size limit the header export and the settings save fail with
    // their error boxes, like on a full disk, instead of the program being killed.
    tv::ignoreFileSizeLimitSignal();
    tv::TvApplication app(argc, argv);
    tv::CloseRequestWatcher closeRequests;  // there for the start-up's "Error" box
    tv::TForm1 form;  // FormCreate runs here, before the window is first shown
    closeRequests.watch(&form);
    form.loadHeaderArguments(app.arguments().mid(1));  // `tvconfig HEADER`
    if (!form.showAfterStartUp()) return 0;
    return app.exec();
}
