#include "qt_ui_poster.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace tv {

namespace {

QEvent::Type messageEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

class MessageEvent final : public QEvent {
public:
    explicit MessageEvent(uint32_t message) : QEvent(messageEventType()), m_message(message) {}
    uint32_t message() const { return m_message; }

private:
    uint32_t m_message;
};

}  // namespace

class QtUiPoster::Receiver final : public QObject {
public:
    explicit Receiver(UiDeliver deliver) : m_deliver(std::move(deliver)) {}

    bool event(QEvent* event) override {
        if (event->type() != messageEventType()) return QObject::event(event);
        m_deliver(static_cast<MessageEvent*>(event)->message());
        return true;
    }

private:
    UiDeliver m_deliver;
};

QtUiPoster::QtUiPoster(UiDeliver deliver)
    : m_receiver(std::make_unique<Receiver>(std::move(deliver))) {}

// Deleting the receiver removes the events still posted to it.
QtUiPoster::~QtUiPoster() = default;

void QtUiPoster::post(uint32_t message) {
    // postEvent is thread-safe and returns at once; the event loop owns the event.
    QCoreApplication::postEvent(m_receiver.get(), new MessageEvent(message));
}

UiPosterFactory qtUiPosterFactory() {
    return [](UiDeliver deliver) -> std::unique_ptr<UiPoster> {
        return std::make_unique<QtUiPoster>(std::move(deliver));
    };
}

}  // namespace tv
