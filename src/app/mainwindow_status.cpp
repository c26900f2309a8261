// The status line: where the grid and the cursor are, and passing messages for what just
// happened: what a run-time error hit, and the counters' traps. View > Messages shows the log.
#include "app/mainwindow.h"

#include "grid/geo_bounds.h"
#include "session/counter_hints.h"
#include "session/session.h"
#include "text/runtime_error.h"
#include "widgets/status_line.h"

#include <QMenuBar>
#include <QStatusBar>

void MainWindow::buildStatusLine()
{
    m_status = new StatusLine(statusBar(), this);
    m_status->setPlace(areaPlaceText(m_session->place()));
    QMenu *view = new QMenu(QStringLiteral("&View"), menuBar());
    view->setObjectName(QStringLiteral("mnuview"));
    menuBar()->insertMenu(findChild<QAction *>(QStringLiteral("mnu01")), view);
    view->addAction(QStringLiteral("&Messages"), m_status, &StatusLine::showLog)
        ->setObjectName(QStringLiteral("mnumessages"));
}

void MainWindow::setPlaceStatus(const QString &text)
{
    m_status->setPlace(text);
}

void MainWindow::showMessage(const QString &text)
{
    m_status->say(text);
}

void MainWindow::showWarning(const QString &text)
{
    m_status->warn(text);
}

void MainWindow::showStatus(const StatusText &status)
{
    status.warning ? showWarning(status.text) : showMessage(status.text);
}

void MainWindow::showCounterHints(Counters which, const QString &lead, const QString &warning)
{
    QStringList hints{warning};
    if (which != Counters::Vtp)
        hints << lwmCounterHint(m_session->text(Field::LwmCounter),
                                int(m_session->entries(ListSide::Lwm).size()));
    if (which != Counters::Lwm)
        hints << vtpCounterHint(m_session->text(Field::VtpCounter),
                                int(m_session->entries(ListSide::Vtp).size()));
    hints.removeAll(QString());
    if (!hints.isEmpty()) {
        // The warnings first, so that a narrow line cuts the path after them, not them.
        m_counterHint = hints.join(QStringLiteral("  "));
        if (!lead.isEmpty())
            m_counterHint += QStringLiteral("  ") + lead;
        showWarning(m_counterHint);
    } else if (!lead.isEmpty()) {
        showMessage(lead);
        m_counterHint.clear();
    } else if (!m_counterHint.isEmpty() && m_status->message() == m_counterHint) {
        // The counters agree again: a hint that stayed would now mislead.
        m_status->clearMessage();
        m_counterHint.clear();
    }
}

void MainWindow::showRuntimeErrorDetail(const RuntimeError &e)
{
    showMessage(QStringLiteral("Run-time error %1: %2.")
                    .arg(int(e.number()))
                    .arg(e.detail().isEmpty() ? e.description() : e.detail()));
}
