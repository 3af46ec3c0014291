#pragma once
// Files dropped on the main window from a file manager. The edits and memos take
// drops of their own (a dropped file would become its path typed into the field),
// so the drop is caught for the whole window, over whichever control it lands.
#include <QObject>
#include <QStringList>
#include <functional>

class QWidget;

namespace tv {

class HeaderDrop : public QObject {
public:
    // `dropped` gets the local paths of the files dropped anywhere on `window`.
    // The watcher is a child of the window and lives as long as it.
    using Dropped = std::function<void(const QStringList& paths)>;
    HeaderDrop(QWidget* window, Dropped dropped);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    Dropped m_dropped;
};

}  // namespace tv
