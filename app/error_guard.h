#pragma once
// The boundary of every handler: an error it lets escape is shown in the
// standard error box and the program goes on with the state reached. No
// exception may cross Qt's event loop.
#include <exception>
#include <string>
#include <utility>

class QWidget;

namespace tv {

// Shows the error box for an escaped error (its message with the full-stop rule).
void reportError(QWidget* parent, const std::exception& e);
void reportUnknownError(QWidget* parent);

template <typename Fn>
void guarded(QWidget* parent, Fn&& fn) {
    try {
        std::forward<Fn>(fn)();
    } catch (const std::exception& e) {
        reportError(parent, e);
    } catch (...) {
        reportUnknownError(parent);
    }
}

}  // namespace tv
