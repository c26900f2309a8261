// The status line: a permanent part that says where the grid and the cursor are, and passing
// messages for what just happened: what a run-time error hit, and the counters' traps. Every
// message also goes to the log that View > Messages shows.
#include "app/mainwindow.h"

#include "session/counter_hints.h"
#include "session/session.h"
#include "text/runtime_error.h"
#include "widgets/eliding_label.h"
#include "widgets/message_log.h"

#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

#include <algorithm>

void MainWindow::buildStatusLine()
{
    statusBar()->setSizeGripEnabled(false); // the window has one fixed size
    // Its own widget, so that menu hover texts and passing messages leave it alone. Two lines
    // (latitude, longitude) of a fixed size, so that the passing messages keep most of the
    // width and a mouse move never lays the status line out again.
    m_placeStatus = new QLabel(statusBar());
    m_placeStatus->setObjectName(QStringLiteral("placeStatus"));
    m_placeStatus->setAccessibleName(QStringLiteral("Grid and cursor place"));
    m_placeStatus->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QFontMetrics metrics = m_placeStatus->fontMetrics();
    int widest = 0;
    for (const char *line :
         {"Area image: S 88\u00b0 88.888' to S 88\u00b0 88.888'",
          "W 188\u00b0 88.888' to W 188\u00b0 88.888'", "Cursor: S 88\u00b0 88.888'  (-88.8888888)",
          "W 188\u00b0 88.888'  (-188.8888888)", "Calculate places it on the globe."})
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(line)));
    m_placeStatus->setContentsMargins(0, 0, 6, 0); // clear of the window's edge
    m_placeStatus->setFixedSize(widest + 12, 2 * metrics.lineSpacing() + 2);
    m_messageStatus = new ElidingLabel(statusBar());
    m_messageStatus->setObjectName(QStringLiteral("messageStatus"));
    m_messageStatus->setAccessibleName(QStringLiteral("Message"));
    statusBar()->addWidget(m_messageStatus, 1);
    statusBar()->addPermanentWidget(m_placeStatus);
    setPlaceStatus(areaStatusText());

    m_messageLog = new MessageLog(this);
    m_messageLog->setObjectName(QStringLiteral("messageLog"));
    QMenu *view = new QMenu(QStringLiteral("&View"), menuBar());
    view->setObjectName(QStringLiteral("mnuview"));
    menuBar()->insertMenu(findChild<QAction *>(QStringLiteral("mnu01")), view);
    view->addAction(QStringLiteral("&Messages"), m_messageLog,
                    [this] {
                        m_messageLog->show();
                        m_messageLog->raise();
                        m_messageLog->activateWindow();
                    })
        ->setObjectName(QStringLiteral("mnumessages"));
}

void MainWindow::setPlaceStatus(const QString &text)
{
    m_placeStatus->setText(text);
}

void MainWindow::showMessage(const QString &text)
{
    m_messageStatus->setText(text);
    if (!text.isEmpty())
        m_messageLog->add(text);
}

void MainWindow::showCounterHints(Counters which, const QString &lead)
{
    QStringList hints;
    if (which != Counters::Vtp)
        hints << lwmCounterHint(m_session->text(Field::LwmCounter),
                                int(m_session->entries(ListSide::Lwm).size()));
    if (which != Counters::Lwm)
        hints << vtpCounterHint(m_session->text(Field::VtpCounter),
                                int(m_session->entries(ListSide::Vtp).size()));
    hints.removeAll(QString());
    if (!hints.isEmpty()) {
        m_counterHint = hints.join(QStringLiteral("  "));
        if (!lead.isEmpty())
            m_counterHint = lead + QStringLiteral("  ") + m_counterHint;
        showMessage(m_counterHint);
    } else if (!lead.isEmpty()) {
        showMessage(lead);
        m_counterHint.clear();
    } else if (!m_counterHint.isEmpty() && m_messageStatus->text() == m_counterHint) {
        // The counters agree again: a hint that stayed would now mislead.
        m_messageStatus->clear();
        m_counterHint.clear();
    }
}

void MainWindow::showRuntimeErrorDetail(const RuntimeError &e)
{
    showMessage(QStringLiteral("Run-time error %1: %2.")
                    .arg(int(e.number()))
                    .arg(e.detail().isEmpty() ? e.description() : e.detail()));
}
