#include "app/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/close_request.h"
#include "app/system_beep.h"

namespace tv {

namespace {

// Once the program has been asked to end (close_request.h), no box stands in the
// way: none is shown any more, and the question after a failed save answers
// "close".
class RealDialogs : public Dialogs {
public:
    void showMessage(QWidget* parent, const QString& text) override {
        if (closeRequested()) return;
        QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent);
        box.exec();
    }
    void showError(QWidget* parent, const QString& text) override {
        if (closeRequested()) return;
        QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok, parent);
        box.exec();
    }
    void beep() override { systemBeep(); }
    bool askCloseWithoutSaving(QWidget* parent, const QString& text) override {
        if (closeRequested()) return true;
        QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::NoButton,
                        parent);
        box.setInformativeText(
            QStringLiteral("Close without saving? The settings in this window will be lost and "
                           "TVCONFIG.INI stays as it was."));
        const QPushButton* close =
            box.addButton(QStringLiteral("Close without saving"), QMessageBox::DestructiveRole);
        QPushButton* stay = box.addButton(QStringLiteral("Stay open"), QMessageBox::RejectRole);
        // Enter and Esc keep the window: losing the settings takes a deliberate click.
        box.setDefaultButton(stay);
        box.setEscapeButton(stay);
        box.exec();
        return box.clickedButton() == close;
    }
    QString chooseHeaderToOpen(QWidget* parent, const QString& directory) override {
        if (closeRequested()) return {};
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Open header"), directory,
                                            kHeaderFilters);
    }
    QString chooseHeaderToSave(QWidget* parent, const QString& suggestedPath) override {
        if (closeRequested()) return {};
        QFileDialog dialog(parent, QStringLiteral("Save header as"), suggestedPath, kHeaderFilters);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("h"));  // "bench" is saved as bench.h
        dialog.selectFile(suggestedPath);
        // The dialog asks its own question before an existing file is replaced.
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().front();
    }
    bool askReplaceChannels(QWidget* parent, const QString& text) override {
        if (closeRequested()) return false;
        QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::NoButton,
                        parent);
        const QPushButton* replace =
            box.addButton(QStringLiteral("Replace"), QMessageBox::DestructiveRole);
        QPushButton* cancel = box.addButton(QMessageBox::Cancel);
        // Losing channels takes a deliberate click.
        box.setDefaultButton(cancel);
        box.setEscapeButton(cancel);
        box.exec();
        return box.clickedButton() == replace;
    }

private:
    static inline const QString kHeaderFilters = QStringLiteral("Headers (*.h);;All files (*)");
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
