// The status line: a permanent part that says where the grid and the cursor are, and passing
// messages for what just happened: what a run-time error hit, and the counters' traps.
#include "app/mainwindow.h"

#include "session/counter_hints.h"
#include "session/session.h"
#include "text/runtime_error.h"

#include <QLabel>
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
    statusBar()->addPermanentWidget(m_placeStatus);
    setPlaceStatus(areaStatusText());
}

void MainWindow::setPlaceStatus(const QString &text)
{
    m_placeStatus->setText(text);
}

void MainWindow::showMessage(const QString &text)
{
    statusBar()->showMessage(text);
}

void MainWindow::showCounterHints(Counters which)
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
        showMessage(m_counterHint);
    } else if (!m_counterHint.isEmpty() && statusBar()->currentMessage() == m_counterHint) {
        // The counters agree again: a hint that stayed would now mislead.
        statusBar()->clearMessage();
        m_counterHint.clear();
    }
}

void MainWindow::showRuntimeErrorDetail(const RuntimeError &e)
{
    showMessage(QStringLiteral("Run-time error %1: %2.")
                    .arg(int(e.number()))
                    .arg(e.detail().isEmpty() ? e.description() : e.detail()));
}
