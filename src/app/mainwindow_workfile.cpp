// Keeping the work: the window's state as one snapshot, the work file's Open, Save and Save
// As, reopening generated sources, and files dropped on the window.
#include "app/mainwindow.h"

#include "app/desktop.h"
#include "app/line_edit_counter.h"
#include "app/program_title.h"
#include "canvas/picture_loader.h"
#include "widgets/image_panel.h"
#include "widgets/point_list.h"
#include "workfile/opening.h"
#include "workfile/work_file.h"

#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QStatusBar>
#include <QUndoCommand>
#include <QUndoStack>

#include <functional>

struct MainWindow::WindowSnapshot
{
    WorkState state;
    QImage picture;
    QString workFile, status;
};

namespace {

const QString openFilter = QStringLiteral("Marlith work and sources (*.marlith *.asm);;")
                           + workFileFilter
                           + QStringLiteral(";;LWM and VTP sources (*.asm);;All files (*)");

QString controlText(const QWidget *w)
{
    if (auto *e = qobject_cast<const QLineEdit *>(w))
        return e->text();
    if (auto *c = qobject_cast<const QComboBox *>(w))
        return c->currentText();
    return qobject_cast<const QLabel *>(w)->text();
}

void setControlText(QWidget *w, const QString &text)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        e->setText(text);
    else if (auto *c = qobject_cast<QComboBox *>(w))
        c->setEditText(text);
    else
        qobject_cast<QLabel *>(w)->setText(text);
}

// Open as one step of the history: undo puts back the window as it was, redo as opened.
class WindowChange final : public QUndoCommand
{
public:
    WindowChange(const QString &text, std::function<void()> before, std::function<void()> after)
        : QUndoCommand(text), m_before(std::move(before)), m_after(std::move(after))
    {
    }
    void undo() override { m_before(); }
    void redo() override { m_after(); }

private:
    std::function<void()> m_before, m_after;
};

bool isWorkOrSource(const QString &path)
{
    return path.endsWith(QStringLiteral(".marlith"), Qt::CaseInsensitive)
           || path.endsWith(QStringLiteral(".asm"), Qt::CaseInsensitive);
}

// The one local file a drag carries, if it carries exactly one.
QString droppedFile(const QMimeData *mime)
{
    const QList<QUrl> urls = mime ? mime->urls() : QList<QUrl>();
    return urls.size() == 1 && urls[0].isLocalFile() ? urls[0].toLocalFile() : QString();
}

} // namespace

// Files dropped on the window open as Open would; a picture dropped on the panel loads as
// Load 256x256 Image would. The panel takes no drops itself: they reach the window, which
// keeps the filter off the panel's moves and presses. Fields keep their own drops of text.
class FileDrops final : public QObject
{
public:
    FileDrops(MainWindow *window, QWidget *panel, std::function<void(const QString &)> open,
              std::function<void(const QString &)> load)
        : QObject(window), m_panel(panel), m_open(std::move(open)), m_load(std::move(load))
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return false;
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = droppedFile(drop->mimeData());
        const QPoint at = static_cast<QWidget *>(watched)->mapToGlobal(drop->position().toPoint());
        const bool onPanel = m_panel->rect().contains(m_panel->mapFromGlobal(at));
        if (path.isEmpty() || !(onPanel || isWorkOrSource(path)))
            return false;
        drop->acceptProposedAction();
        if (type == QEvent::Drop)
            isWorkOrSource(path) ? m_open(path) : m_load(path);
        return true;
    }

private:
    QWidget *m_panel;
    std::function<void(const QString &)> m_open, m_load;
};

WorkState MainWindow::workState() const
{
    WorkState s;
    for (const WorkControl &c : workControls)
        s.*(c.text) = controlText(findChild<QWidget *>(QLatin1String(c.name)));
    s.lwmWarning = m_lwmCounter->state().warning;
    s.vtpWarning = m_vtpCounter->state().warning;
    for (const WorkList &l : workLists) {
        const PointList *list = findChild<PointList *>(QLatin1String(l.name));
        s.*(l.list) = {list->entries(), list->selectedIndex()};
    }
    s.imagePath = m_imagePath;
    s.imageGeoreferenced = m_imageGeoreferenced;
    return s;
}

void MainWindow::applyWorkState(const WorkState &s)
{
    for (const WorkControl &c : workControls)
        setControlText(findChild<QWidget *>(QLatin1String(c.name)), s.*(c.text));
    m_lwmCounter->setState({s.txtlwmnumber, s.lwmWarning});
    m_vtpCounter->setState({s.txtvtpnumber, s.vtpWarning});
    for (const WorkList &l : workLists) {
        PointList *list = findChild<PointList *>(QLatin1String(l.name));
        const ListState &from = s.*(l.list);
        list->clear();
        list->append(from.entries);
        list->selectRow(from.selected);
    }
    m_imagePath = s.imagePath;
    m_imageGeoreferenced = s.imageGeoreferenced;
    redrawShapes();
}

MainWindow::WindowSnapshot MainWindow::snapshot() const
{
    return {workState(), Picture1->picture(), m_workFile, m_workFileStatus->text()};
}

void MainWindow::restore(const WindowSnapshot &s)
{
    applyWorkState(s.state);
    Picture1->setPicture(s.picture);
    m_workFile = s.workFile;
    m_workFileStatus->setText(s.status);
    showGridBounds();
}

void MainWindow::buildWorkFile()
{
    m_workFileStatus = new QLabel(this);
    m_workFileStatus->setObjectName(QStringLiteral("workFileStatus"));
    statusBar()->addPermanentWidget(m_workFileStatus);
    auto *drops = new FileDrops(
        this, Picture1, [this](const QString &path) { openWorkOrSource(path); },
        [this](const QString &path) { loadImage(path); });
    setAcceptDrops(true);
    installEventFilter(drops);
    // Fields take drops of text themselves, so they must let a dropped file through too.
    for (QWidget *w : findChildren<QWidget *>()) {
        if (w->acceptDrops())
            w->installEventFilter(drops);
    }
}

void MainWindow::loadImage(const QString &path)
{
    if (const std::optional<QImage> picture = loadPicture(path)) {
        Picture1->setPicture(*picture);
        m_imagePath = QFileInfo(path).absoluteFilePath();
        m_imageGeoreferenced = false;
    }
}

void MainWindow::openWorkOrSource(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const WindowSnapshot before = snapshot();
    WindowSnapshot after = before;
    QStringList notes;
    try {
        const Opened opened = openFile(path, before.state, locale());
        after.state = opened.state;
        if (opened.kind == OpenedKind::WorkFile) {
            after.workFile = QFileInfo(path).absoluteFilePath();
            after.picture = workImage(opened.state, notes);
        } else if (opened.lfOnly) {
            notes << QStringLiteral("its lines end in LF alone");
        }
    } catch (const OpenFault &f) {
        m_desktop.messageBox(this, QStringLiteral("%1 was not opened.\n\n%2").arg(name, f.text),
                             programTitle());
        return;
    }
    after.status = QStringLiteral("Opened %1").arg(name);
    if (!notes.isEmpty())
        after.status += QStringLiteral(": ") + notes.join(QStringLiteral("; "));
    if (!after.workFile.isEmpty() && after.workFile != QFileInfo(path).absoluteFilePath())
        after.status +=
            QStringLiteral("   Work file: %1").arg(QFileInfo(after.workFile).fileName());
    m_history->push(new WindowChange(
        QStringLiteral("Open %1").arg(name), [this, before] { restore(before); },
        [this, after] { restore(after); }));
}

// The picture a work file names, read afresh; the panel stays empty when it is gone.
QImage MainWindow::workImage(const WorkState &s, QStringList &notes) const
{
    if (s.imagePath.isEmpty())
        return QImage();
    const QString shown = QDir::toNativeSeparators(s.imagePath);
    if (!QFileInfo::exists(s.imagePath)) {
        notes << QStringLiteral("the image %1 is gone").arg(shown);
        return QImage();
    }
    // A georeferenced image is loaded through the same path as Load 256x256 Image.
    const std::optional<QImage> picture = loadPicture(s.imagePath);
    if (!picture)
        notes << QStringLiteral("the image %1 could not be read").arg(shown);
    return picture.value_or(QImage());
}

void MainWindow::mnuopen_Click()
{
    if (const std::optional<QString> path = m_desktop.openFileName(this, openFilter))
        openWorkOrSource(*path);
}

void MainWindow::mnusave_Click()
{
    if (m_workFile.isEmpty())
        mnusaveas_Click();
    else
        saveWorkTo(m_workFile);
}

void MainWindow::mnusaveas_Click()
{
    std::optional<QString> path = m_desktop.saveFileName(this, workFileFilter);
    if (!path)
        return;
    if (!path->endsWith(QStringLiteral(".marlith"), Qt::CaseInsensitive))
        *path += QStringLiteral(".marlith");
    saveWorkTo(*path);
}

void MainWindow::saveWorkTo(const QString &path)
{
    const QString why = saveWorkFile(path, workState());
    if (!why.isEmpty()) {
        m_desktop.messageBox(this,
                             QStringLiteral("The work was not saved to %1: %2.")
                                 .arg(QDir::toNativeSeparators(path), why),
                             programTitle());
        return;
    }
    m_workFile = QFileInfo(path).absoluteFilePath();
    m_workFileStatus->setText(QStringLiteral("Work file: %1").arg(QFileInfo(path).fileName()));
}
