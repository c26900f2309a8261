// Each control shows one text or list of the session, and what the user types goes back into
// it: an edit writes the session, and a change of the session updates the control.
#include "app/mainwindow.h"

#include "session/session.h"
#include "widgets/point_list.h"
#include "widgets/window_colours.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

void MainWindow::bindSession()
{
    const std::pair<Field, QWidget *> views[] = {
        {Field::LatDeg, txtlatdeg},
        {Field::LatMin, txtlatmin},
        {Field::LongDeg, txtlongdeg},
        {Field::LongMin, txtlongmin},
        {Field::Altitude, txtaltitude},
        {Field::LineType, cbovtptype},
        {Field::VtpWidth, txtvtplinewidth},
        {Field::Layer, cbolayer},
        {Field::LwmCounter, txtlwmnumber},
        {Field::VtpCounter, txtvtpnumber},
        {Field::LatDecimal, lbllatdd},
        {Field::LngDecimal, lbllongdd},
        {Field::CellX, lblcellx},
        {Field::CellY, lblcelly},
        {Field::AreaX, lblareax},
        {Field::AreaY, lblareay},
        {Field::PixelX, lblx},
        {Field::PixelY, lbly},
        {Field::GridX, lblvtp2x},
        {Field::GridY, lblvtp2y},
    };
    static_assert(std::size(views) == fieldCount);
    for (const auto &[field, view] : views) {
        m_views[std::size_t(field)] = view;
        const auto typed = [this, field = field](const QString &text) {
            m_session->setText(field, text);
        };
        if (auto *edit = qobject_cast<QLineEdit *>(view))
            connect(edit, &QLineEdit::textChanged, this, typed);
        else if (auto *box = qobject_cast<QComboBox *>(view))
            connect(box, &QComboBox::editTextChanged, this, typed);
        showText(field);
    }
    connect(m_session, &Session::textChanged, this, &MainWindow::showText);
    connect(m_session, &Session::entriesChanged, this, &MainWindow::showEntries);
    connect(m_session, &Session::selectionChanged, this, &MainWindow::showSelection);
    connect(m_session, &Session::modifiedChanged, this, &QWidget::setWindowModified);
    connect(m_session, &Session::workFileChanged, this, &MainWindow::showTitle);
    for (ListSide side : {ListSide::Lwm, ListSide::Vtp}) {
        PointList *list = listOf(side);
        connect(list, &PointList::selectedEntryChanged, this,
                [this, side, list] { m_session->select(side, list->selectedIndex()); });
    }
}

PointList *MainWindow::listOf(ListSide side) const
{
    return side == ListSide::Lwm ? lstLWM : lstVTP;
}

void MainWindow::showText(Field field)
{
    QWidget *view = m_views[std::size_t(field)];
    const QString &text = m_session->text(field);
    if (auto *edit = qobject_cast<QLineEdit *>(view)) {
        if (edit->text() != text)
            edit->setText(text);
    } else if (auto *box = qobject_cast<QComboBox *>(view)) {
        if (box->currentText() != text)
            box->setEditText(text);
    } else if (auto *label = qobject_cast<QLabel *>(view)) {
        label->setText(text);
    }
    if (field == Field::LwmCounter || field == Field::VtpCounter) {
        const bool warning =
            m_session->counterWarning(field == Field::LwmCounter ? ListSide::Lwm : ListSide::Vtp);
        QPalette p = view->palette();
        p.setColor(QPalette::Text, warning ? colours::warning : colours::normalText);
        view->setPalette(p);
    }
}

void MainWindow::showEntries(ListSide side, const EntriesChange &change)
{
    PointList *list = listOf(side);
    const QStringList &entries = m_session->entries(side);
    switch (change.kind) {
    case EntriesChange::Appended:
        list->append(entries.mid(change.index, change.count));
        break;
    case EntriesChange::Inserted:
        list->insertAt(change.index, entries.at(change.index));
        break;
    case EntriesChange::Removed:
        list->removeAt(change.index);
        break;
    case EntriesChange::Reset:
        list->clear();
        list->append(entries);
        break;
    }
}

void MainWindow::showSelection(ListSide side)
{
    const int row = m_session->selected(side);
    if (listOf(side)->selectedIndex() != row)
        listOf(side)->selectRow(row);
}

void MainWindow::changeEvent(QEvent *event)
{
    // Captions are written, and typed degrees read, in the window's locale.
    if (event->type() == QEvent::LocaleChange)
        m_session->setLocale(locale());
    QMainWindow::changeEvent(event);
}

void MainWindow::showTitle()
{
    // The program's own title, then the work file, and Qt's mark while it has unsaved changes.
    const QString &file = m_session->workFile();
    setWindowTitle(file.isEmpty()
                       ? QStringLiteral(" Marlith3[*]")
                       : QStringLiteral(" Marlith3 - %1[*]").arg(QFileInfo(file).fileName()));
    setWindowModified(m_session->isModified());
}
