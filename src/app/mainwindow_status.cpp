// The status line: where the grid and the cursor are, and passing messages for what just
// happened: what a run-time error hit, and the counters' traps. View > Messages shows the log.
#include "app/mainwindow.h"

#include "grid/geo_bounds.h"
#include "session/counter_hints.h"
#include "session/session.h"
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

void MainWindow::showCounterHints(std::initializer_list<ListSide> sides, const QString &lead,
                                  const QString &warning)
{
    m_status->sayWarnings(counterHints(*m_session, sides, warning), lead);
}
