#pragma once
// Every message box and the system beep go through here, so tests can replace
// them with a recorder instead of blocking on a modal box.
#include <QString>
#include <memory>

class QWidget;

namespace tv {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal box with one OK button and no icon ("Error", "データ読込みエラー").
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // The standard error box: error icon, the application's title, one OK button.
    virtual void showError(QWidget* parent, const QString& text) = 0;
    // The information beep that comes before a notice.
    virtual void beep() = 0;
    // The box after a failed save at close: the standard error box with `text`
    // and a second line, "Close without saving? The settings in this window will
    // be lost and TVCONFIG.INI stays as it was.", and two buttons, "Close without
    // saving" and "Stay open" (the default, and what Esc answers). True to close.
    virtual bool askCloseWithoutSaving(QWidget* parent, const QString& text) = 0;
    // The platform's file dialog for a header to open ("*.h", and all files),
    // starting in `directory`. The chosen path, empty when cancelled.
    virtual QString chooseHeaderToOpen(QWidget* parent, const QString& directory) = 0;
    // The file dialog for a header to save, suggesting `suggestedPath`; the dialog
    // itself asks before an existing file is replaced. Empty when cancelled.
    virtual QString chooseHeaderToSave(QWidget* parent, const QString& suggestedPath) = 0;
    // A question with "Replace" and "Cancel" (the default, and what Esc answers)
    // before channels not yet saved or written are replaced. True to replace.
    virtual bool askReplaceChannels(QWidget* parent, const QString& text) = 0;
};

// Shows nothing and does not beep: for runs without an operator (benchmarks),
// which no failed save may keep from ending.
class SilentDialogs : public Dialogs {
public:
    void showMessage(QWidget*, const QString&) override {}
    void showError(QWidget*, const QString&) override {}
    void beep() override {}
    bool askCloseWithoutSaving(QWidget*, const QString&) override { return true; }
    QString chooseHeaderToOpen(QWidget*, const QString&) override { return {}; }
    QString chooseHeaderToSave(QWidget*, const QString&) override { return {}; }
    bool askReplaceChannels(QWidget*, const QString&) override { return false; }
};

// The dialogs in use; the real ones unless a test installed its own.
Dialogs& dialogs();
// Installs d (nullptr restores the real ones) and returns the previous one.
std::unique_ptr<Dialogs> installDialogs(std::unique_ptr<Dialogs> d);

// The application's title, shown on every box.
QString applicationTitle();

}  // namespace tv
