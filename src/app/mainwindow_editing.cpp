// Capture on the image panel, the list editing buttons and the two Create commands.
#include "app/mainwindow.h"

#include "app/desktop.h"
#include "app/line_edit_counter.h"
#include "canvas/overlay.h"
#include "canvas/point_capture.h"
#include "lists/list_changes.h"
#include "lists/list_editing.h"
#include "text/numbers.h"
#include "widgets/image_panel.h"
#include "writers/source_writers.h"

#include "widgets/point_list.h"
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {
} // namespace

CursorInput MainWindow::cursorInput(QPointF position) const
{
    const QSizeF inner = Picture1->innerSize();
    return {float(position.x()),   float(position.y()), float(inner.width()),
            float(inner.height()), lblareax->text(),    lblareay->text()};
}

void MainWindow::showReadouts(const CursorReadouts &r)
{
    lblx->setText(r.lblx);
    lbly->setText(r.lbly);
    lblvtp2x->setText(r.lblvtp2x);
    lblvtp2y->setText(r.lblvtp2y);
}

void MainWindow::Picture1_MouseMove(QPointF position)
{
    runHandler([&] { showReadouts(mapCursorToGrid(cursorInput(position), 0)); });
    showCursorPosition(position, Picture1->innerSize());
}

void MainWindow::Picture1_MouseDown(QPointF position)
{
    auto change = std::make_unique<PointCaptured>(*lstLWM, *lstVTP, *m_lwmCounter, *m_vtpCounter);
    runHandler([&] {
        const Capture c = capturePoint(cursorInput(position), txtvtpnumber->text(),
                                       txtvtplinewidth->text(), lstLWM->count(), lstVTP->count());
        showReadouts(c.readouts);
        lstLWM->append({c.lwmEntry});
        lstVTP->append(c.vtpEntries);
        m_lwmCounter->setState({c.lwmCounter, c.lwmWarning});
        m_vtpCounter->setState({c.vtpCounter, c.vtpWarning});

        const double ax = leadingNumber(lblareax->text()), ay = leadingNumber(lblareay->text());
        Picture1->appendToShapes(lwmEntryPixel(c.lwmEntry), std::nullopt);
        for (const QString &e : c.vtpEntries)
            Picture1->appendToShapes(std::nullopt, vtpEntryPixel(e, ax, ay));
    });
    record(std::move(change), QStringLiteral("Capture point"));
}

void MainWindow::redrawShapes()
{
    const double ax = leadingNumber(lblareax->text()), ay = leadingNumber(lblareay->text());
    QPolygonF polygon, line;
    int polygonHighlight = -1, lineHighlight = -1;
    const QStringList &lwm = lstLWM->entries(), &vtp = lstVTP->entries();
    const int lwmSelected = lstLWM->selectedIndex(), vtpSelected = lstVTP->selectedIndex();
    for (int i = 0; i < lwm.size(); ++i) {
        if (const auto p = lwmEntryPixel(lwm[i])) {
            if (i == lwmSelected)
                polygonHighlight = int(polygon.size());
            polygon << *p;
        }
    }
    for (int i = 0; i < vtp.size(); ++i) {
        if (const auto p = vtpEntryPixel(vtp[i], ax, ay)) {
            if (i == vtpSelected)
                lineHighlight = int(line.size());
            line << *p;
        }
    }
    Picture1->setShapes(polygon, line);
    Picture1->setHighlighted(polygonHighlight, lineHighlight);
}

void MainWindow::cmdload_Click()
{
    // Every failure ends this quietly: the panel keeps the picture it had.
    const std::optional<QString> path = m_desktop.openFileName(this, pictureFilter);
    if (!path)
        return;
    if (const std::optional<QImage> picture = loadPicture(*path))
        Picture1->setPicture(*picture);
}

void MainWindow::removeSelected(PointList *list)
{
    EntryList &entries = *list;
    auto change = std::make_unique<EntriesRemoved>(entries, EntriesRemoved::Which::Selected);
    xListRemoveSelected(entries);
    redrawShapes();
    record(std::move(change), QStringLiteral("Remove Selected"));
}

void MainWindow::clearEntries(PointList *list)
{
    EntryList &entries = *list;
    auto change = std::make_unique<EntriesRemoved>(entries, EntriesRemoved::Which::All);
    clearList(entries);
    redrawShapes();
    record(std::move(change),
           list == lstLWM ? QStringLiteral("Clear LWM List") : QStringLiteral("Clear VTP List"));
}

void MainWindow::insertEntry(PointList *list)
{
    const QString typed =
        m_desktop.inputBox(this, QLatin1String(insertEntryPrompt), QStringLiteral("Marlith"));
    EntryList &entries = *list;
    auto change = std::make_unique<EntryInserted>(entries);
    if (insertTypedEntry(entries, typed))
        redrawShapes();
    record(std::move(change), QStringLiteral("Insert"));
}

// Delete removes the selected entry of a focused list; Insert or Enter inserts as a double
// click would.
bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    auto *list = qobject_cast<PointList *>(watched);
    if (event->type() != QEvent::KeyPress || (list != lstLWM && list != lstVTP))
        return QMainWindow::eventFilter(watched, event);
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Delete:
        list == lstLWM ? cmdlwmclearlistitem_Click() : cmdvtpclearitem_Click();
        return true;
    case Qt::Key_Insert:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        list == lstLWM ? lstLWM_DblClick() : lstVTP_DblClick();
        return true;
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void MainWindow::cmdlwmclearlistitem_Click()
{
    removeSelected(lstLWM);
}
void MainWindow::cmdvtpclearitem_Click()
{
    removeSelected(lstVTP);
}
void MainWindow::cmdclearlwmlist_Click()
{
    clearEntries(lstLWM);
}
void MainWindow::cmdclearvtplist_Click()
{
    clearEntries(lstVTP);
}
void MainWindow::lstLWM_DblClick()
{
    insertEntry(lstLWM);
}
void MainWindow::lstVTP_DblClick()
{
    insertEntry(lstVTP);
}

QString MainWindow::LWMFilePath() const
{
    return ::LWMFilePath(m_desktop.programFolder());
}

QString MainWindow::VTPFilePath() const
{
    return ::VTPFilePath(m_desktop.programFolder());
}

void MainWindow::cmdcreatelwm_Click()
{
    runHandler([&] {
        const LwmInputs in{txtlatdeg->text(),   txtlatmin->text(), txtlongdeg->text(),
                           txtlongmin->text(),  lblcellx->text(),  lblcelly->text(),
                           lblareax->text(),    lblareay->text(),  txtlwmnumber->text(),
                           txtaltitude->text(), lstLWM->entries()};
        // The whole text first: a failure must not leave a broken file behind.
        writeSourceFile(LWMFilePath(), lwmSourceText(in, locale()));
    });
}

void MainWindow::cmdcreatevtp_Click()
{
    runHandler([&] {
        const VtpInputs in{txtlatdeg->text(),       txtlatmin->text(),    txtlongdeg->text(),
                           txtlongmin->text(),      lblcellx->text(),     lblcelly->text(),
                           cbolayer->currentText(), txtvtpnumber->text(), cbovtptype->currentText(),
                           lstVTP->entries()};
        writeSourceFile(VTPFilePath(), vtpSourceText(in, locale()));
    });
}
