// Each control shows one text or list of the session, and what the user types goes back into
// it: an edit writes the session, and a change of the session updates the control.
#include "app/mainwindow.h"

#include "session/session.h"
#include "widgets/point_list.h"
#include "widgets/session_list.h"
#include "widgets/window_colours.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

void MainWindow::bindSession()
{
    const std::pair<Field, QWidget *> views[] = {
        {Field::LatDeg, m_form.txtlatdeg},
        {Field::LatMin, m_form.txtlatmin},
        {Field::LongDeg, m_form.txtlongdeg},
        {Field::LongMin, m_form.txtlongmin},
        {Field::Altitude, m_form.txtaltitude},
        {Field::LineType, m_form.cbovtptype},
        {Field::VtpWidth, m_form.txtvtplinewidth},
        {Field::Layer, m_form.cbolayer},
        {Field::LwmCounter, m_form.txtlwmnumber},
        {Field::VtpCounter, m_form.txtvtpnumber},
        {Field::LatDecimal, m_form.lbllatdd},
        {Field::LngDecimal, m_form.lbllongdd},
        {Field::CellX, m_form.lblcellx},
        {Field::CellY, m_form.lblcelly},
        {Field::AreaX, m_form.lblareax},
        {Field::AreaY, m_form.lblareay},
        {Field::PixelX, m_form.lblx},
        {Field::PixelY, m_form.lbly},
        {Field::GridX, m_form.lblvtp2x},
        {Field::GridY, m_form.lblvtp2y},
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
    connect(m_session, &Session::modifiedChanged, this, &QWidget::setWindowModified);
    connect(m_session, &Session::workFileChanged, this, &MainWindow::showTitle);
    showSessionList(m_form.lstLWM, *m_session, ListSide::Lwm);
    showSessionList(m_form.lstVTP, *m_session, ListSide::Vtp);
}

PointList *MainWindow::listOf(ListSide side) const
{
    return side == ListSide::Lwm ? m_form.lstLWM : m_form.lstVTP;
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
