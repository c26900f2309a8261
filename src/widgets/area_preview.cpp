#include "widgets/area_preview.h"

#include "canvas/overlay.h"
#include "widgets/area_job_dialog.h"
#include "widgets/session_overlay.h"

#include <QAction>
#include <QDir>
#include <QMenu>

namespace {

QString counted(qsizetype n, const char *one, const char *more)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : more));
}

} // namespace

AreaPreview::AreaPreview(QMenu *view, SessionOverlay *overlay,
                         std::function<void(const std::optional<GridPlace> &)> showPlace,
                         std::function<void(const QString &)> say, QObject *parent)
    : QObject(parent), m_overlay(overlay), m_showPlace(std::move(showPlace)), m_say(std::move(say))
{
    view->addSeparator();
    m_next = view->addAction(QStringLiteral("&Next Written Area"), this,
                             &AreaPreview::mnunextarea_Click);
    m_next->setObjectName(QStringLiteral("mnunextarea"));
    m_next->setShortcut(QKeySequence(Qt::Key_PageDown));
    m_previous = view->addAction(QStringLiteral("&Previous Written Area"), this,
                                 &AreaPreview::mnupreviousarea_Click);
    m_previous->setObjectName(QStringLiteral("mnupreviousarea"));
    m_previous->setShortcut(QKeySequence(Qt::Key_PageUp));
    m_end = view->addAction(QStringLiteral("&Back to the Work"), this,
                            &AreaPreview::mnuendpreview_Click);
    m_end->setObjectName(QStringLiteral("mnuendpreview"));
    m_end->setShortcut(QKeySequence(Qt::Key_Escape));
    // Page Up and Down stay the lists' own until a run has written areas.
    for (QAction *a : {m_next, m_previous, m_end})
        a->setEnabled(false);
    connect(m_overlay, &SessionOverlay::previewEnded, this, &AreaPreview::ended);
}

void AreaPreview::watch(AreaJobDialog *dialog)
{
    connect(dialog, &AreaJobDialog::written, this,
            [this, dialog] { setWritten(dialog->writtenFolder(), dialog->writtenFiles()); });
}

void AreaPreview::setWritten(const QString &folder, const QStringList &files)
{
    m_overlay->endPreview();
    m_written = WrittenAreas(folder, files);
    m_folder = folder;
    const bool any = m_written.count() > 0;
    m_next->setEnabled(any);
    m_previous->setEnabled(any);
    if (any)
        m_say(QStringLiteral("View > Next Written Area (Page Down) shows the %1 written.")
                  .arg(counted(m_written.count(), "area", "areas")));
    else if (!files.isEmpty())
        m_say(QStringLiteral("View > Next Written Area has nothing to show: the run wrote only "
                             "%1, into %2.")
                  .arg(counted(files.size(), "VTP file", "VTP files"),
                       QDir::toNativeSeparators(folder)));
}

bool AreaPreview::previewing() const
{
    return m_overlay->previewing();
}

void AreaPreview::mnunextarea_Click()
{
    step(1);
}

void AreaPreview::mnupreviousarea_Click()
{
    step(-1);
}

void AreaPreview::mnuendpreview_Click()
{
    m_overlay->endPreview();
}

void AreaPreview::step(int by)
{
    if (m_written.count() == 0)
        return;
    const WrittenArea area = m_written.step(by);
    const QString which = QStringLiteral("Written area %1 of %2, %3")
                              .arg(m_written.index() + 1)
                              .arg(m_written.count())
                              .arg(area.name);
    if (!area.failure.isEmpty()) {
        m_overlay->endPreview();
        m_say(QStringLiteral("%1, cannot be shown: %2").arg(which, area.failure));
        return;
    }
    const Overlay overlay = writtenAreaOverlay(area.polygons, area.lines, area.place);
    qsizetype land = 0;
    for (const FilledShape &f : overlay.filled)
        land += f.land ? 1 : 0;
    m_shown = QStringLiteral("%1: polygons %2 water, %3 land; %4 of the cell over it.")
                  .arg(which)
                  .arg(overlay.filled.size() - land)
                  .arg(land)
                  .arg(counted(overlay.lines.size(), "line", "lines"));
    if (area.unreadLines > 0)
        m_shown += QStringLiteral(" %1 of the run changed or gone since.")
                       .arg(counted(area.unreadLines, "line file", "line files"));
    // Shown before the picture is asked for: the feed may speak at once.
    m_overlay->showPreview(overlay);
    m_end->setEnabled(true);
    m_pictureSaid = false;
    m_showPlace(area.place);
    if (!m_pictureSaid)
        sayAboutPicture(QString());
}

void AreaPreview::sayAboutPicture(const QString &text)
{
    QString line = m_shown;
    if (!text.isEmpty()) {
        line += QLatin1Char(' ') + text;
        m_pictureSaid = true;
    }
    m_say(line
          + QStringLiteral(" Page Down, Page Up: the next, the previous; Escape: back to "
                           "the work."));
}

void AreaPreview::ended()
{
    m_end->setEnabled(false);
    // The area's line would still say Escape goes back to the work; what the work's picture
    // says comes after.
    m_say(QStringLiteral("Back to the work; View > Next Written Area (Page Down) shows the %1 "
                         "again.")
              .arg(counted(m_written.count(), "written area", "written areas")));
    m_showPlace(std::nullopt);
}
