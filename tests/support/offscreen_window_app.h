#pragma once
// The start of a benchmark that runs the real window without a screen: Qt's
// offscreen platform (unless QT_QPA_PLATFORM names another), a working directory
// of its own under the temporary folder (the settings file lands there), com1
// naming no port until the benchmark points it at one, the application object,
// and message boxes that stay silent. The directory goes when this does.
#include <filesystem>
#include <memory>
#include <string>

namespace tv {
class TvApplication;
}

namespace tv::testing {

class OffscreenWindowApp {
public:
    // `name` names the directory: tvconfig-<name> in the temporary folder.
    OffscreenWindowApp(int& argc, char** argv, const std::string& name);
    ~OffscreenWindowApp();
    OffscreenWindowApp(const OffscreenWindowApp&) = delete;
    OffscreenWindowApp& operator=(const OffscreenWindowApp&) = delete;

    const std::filesystem::path& dir() const { return m_dir; }
    // How long building the application object took, in milliseconds.
    double applicationMs() const { return m_applicationMs; }

private:
    std::filesystem::path m_dir;
    double m_applicationMs = 0;
    std::unique_ptr<TvApplication> m_app;
};

}  // namespace tv::testing
