#include "widgets/file_drops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace {

// The one local file a drag carries, if it carries exactly one.
QString droppedFile(const QMimeData *mime)
{
    const QList<QUrl> urls = mime ? mime->urls() : QList<QUrl>();
    return urls.size() == 1 && urls[0].isLocalFile() ? urls[0].toLocalFile() : QString();
}

} // namespace

FileDrops::FileDrops(QWidget *window, QWidget *panel, Takes takes, Open open)
    : QObject(window), m_panel(panel), m_takes(std::move(takes)), m_open(std::move(open))
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->acceptDrops())
            w->installEventFilter(this);
    }
}

bool FileDrops::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    const QString path = droppedFile(drop->mimeData());
    const QPoint at = static_cast<QWidget *>(watched)->mapToGlobal(drop->position().toPoint());
    const bool onPanel = m_panel->rect().contains(m_panel->mapFromGlobal(at));
    if (path.isEmpty() || !m_takes(path, onPanel))
        return false;
    drop->acceptProposedAction();
    if (type == QEvent::Drop)
        m_open(path);
    return true;
}
