#include "tests/support/offscreen_window_app.h"

#include <QElapsedTimer>
#include <QtGlobal>

#include "app/dialogs.h"
#include "app/tv_application.h"

namespace tv::testing {

OffscreenWindowApp::OffscreenWindowApp(int& argc, char** argv, const std::string& name)
    : m_dir(std::filesystem::temp_directory_path() / ("tvconfig-" + name)) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TVCONFIG_COM1", "/nonexistent/tvconfig-bench");
    std::filesystem::create_directories(m_dir);
    std::filesystem::current_path(m_dir);
    QElapsedTimer timer;
    timer.start();
    m_app = std::make_unique<TvApplication>(argc, argv);
    m_applicationMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    installDialogs(std::make_unique<SilentDialogs>());
}

OffscreenWindowApp::~OffscreenWindowApp() {
    m_app.reset();
    std::error_code ignored;  // a leftover directory in the temporary folder harms nothing
    std::filesystem::remove_all(m_dir, ignored);
}

}  // namespace tv::testing
