#pragma once
// Ctrl+C in the terminal, or a SIGTERM from the session (on Windows: Ctrl+C, Ctrl+Break,
// the console window closed, log-off or shutdown), closes the window as the
// close button does, so the settings are saved and the port is released. A second
// signal ends the program at once.
class QWidget;

namespace tv {

void closeOnTerminationSignals(QWidget* window);

}  // namespace tv
