#pragma once
// The serial component's poster for a Qt program: messages posted from the
// monitor thread become Qt events for an object that lives on the thread that
// made the poster (make the component on the UI thread), and are delivered by
// its event loop in posting order. Destroying the poster drops what is queued.
#include <memory>

#include "serial/ui_poster.h"

namespace tv {

class QtUiPoster final : public UiPoster {
public:
    explicit QtUiPoster(UiDeliver deliver);
    ~QtUiPoster() override;
    QtUiPoster(const QtUiPoster&) = delete;
    QtUiPoster& operator=(const QtUiPoster&) = delete;

    void post(uint32_t message) override;

private:
    class Receiver;
    std::unique_ptr<Receiver> m_receiver;
};

// For Trs232c's constructor: Trs232c rs232c1{qtUiPosterFactory()};
UiPosterFactory qtUiPosterFactory();

}  // namespace tv
