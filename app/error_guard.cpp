#include "app/error_guard.h"

#include <QString>

#include "app/dialogs.h"
#include "os/error_box.h"

namespace tv {

void reportError(QWidget* parent, const std::exception& e) {
    dialogs().showError(parent, QString::fromStdString(errorBoxText(e.what())));
}

void reportUnknownError(QWidget* parent) {
    dialogs().showError(parent, QString::fromStdString(errorBoxText("Unexpected error")));
}

}  // namespace tv
