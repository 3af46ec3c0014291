#include "app/dialogs.h"

#include <QMessageBox>

#include "app/system_beep.h"

namespace tv {

namespace {

class RealDialogs : public Dialogs {
public:
    void showMessage(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent);
        box.exec();
    }
    void showError(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok, parent);
        box.exec();
    }
    void beep() override { systemBeep(); }
};

std::unique_ptr<Dialogs>& current() {
    static std::unique_ptr<Dialogs> d = std::make_unique<RealDialogs>();
    return d;
}

}  // namespace

Dialogs& dialogs() { return *current(); }

std::unique_ptr<Dialogs> installDialogs(std::unique_ptr<Dialogs> d) {
    if (!d) d = std::make_unique<RealDialogs>();
    std::swap(d, current());
    return d;
}

QString applicationTitle() { return QStringLiteral("tvconfig"); }

}  // namespace tv
