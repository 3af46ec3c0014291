#include "app/header_drop.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace tv {

namespace {

// The paths of a drag that carries files only; empty for text, web links and
// anything else, which the controls go on handling as before.
QStringList localFiles(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) return {};
        // Qt's "/" on every platform; the operator reads the path in Windows' own form there.
        paths.push_back(QDir::toNativeSeparators(url.toLocalFile()));
    }
    return paths;
}

}  // namespace

HeaderDrop::HeaderDrop(QWidget* window, Dropped dropped)
    : QObject(window), m_window(window), m_dropped(std::move(dropped)) {
    // Over a control that takes no drops (a label, a button) Qt hands the drag to
    // the nearest parent that does: the window.
    m_window->setAcceptDrops(true);
    // Watching the application sees the drag wherever it lands, also on controls
    // made after this point (a combo box's list, a memo's viewport).
    qApp->installEventFilter(this);
}

bool HeaderDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != m_window) return false;
    auto* drop = static_cast<QDropEvent*>(event);  // DragEnter and DragMove derive from it
    const QStringList paths = localFiles(drop->mimeData());
    if (paths.isEmpty()) return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) m_dropped(paths);
    return true;
}

}  // namespace tv
