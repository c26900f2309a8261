// The status line: a permanent part that says where the grid and the cursor are, and passing
// messages for what just happened: what a run-time error hit, and the counters' traps.
#include "app/mainwindow.h"

#include "text/numbers.h"
#include "text/runtime_error.h"
#include "widgets/point_list.h"

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

#include <algorithm>

namespace {

QString counterText(const QString &counter)
{
    return counter.trimmed().isEmpty() ? QStringLiteral("empty") : counter.trimmed();
}

// The files take the counters, not the lists, and the list edits leave the counters alone:
// say so when they no longer agree, and how to bring them in line. Short enough to fit
// beside the place part of the status line.
QString lwmCounterHint(const QString &counter, int entries)
{
    if (leadingNumber(counter) == entries)
        return QString();
    return QStringLiteral("LWM counter %1, but %2 entries in the list, and Create writes the "
                          "counter: type %2, or the next point sets it.")
        .arg(counterText(counter))
        .arg(entries);
}

QString vtpCounterHint(const QString &counter, int entries)
{
    const double reads = leadingNumber(counter);
    if (entries == 0) {
        if (reads <= 1)
            return QString();
        return QStringLiteral("VTP list empty, but its counter reads %1: the next point would "
                              "start no line. Type 0 to start a new line.")
            .arg(counterText(counter));
    }
    const int points = entries - 2; // the two width entries of a line's start
    if (reads == points)
        return QString();
    const QString fix = points >= 0
                            ? QStringLiteral("type %1, or the next point sets it").arg(points)
                            : QStringLiteral("the next point sets it");
    return QStringLiteral("VTP counter %1, but the list's %2 entries make %3 points, and Create "
                          "writes the counter: %4.")
        .arg(counterText(counter))
        .arg(entries)
        .arg(points)
        .arg(fix);
}

} // namespace

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

void MainWindow::showCounterHints(Counters which)
{
    QStringList hints;
    if (which != Counters::Vtp)
        hints << lwmCounterHint(txtlwmnumber->text(), lstLWM->count());
    if (which != Counters::Lwm)
        hints << vtpCounterHint(txtvtpnumber->text(), lstVTP->count());
    hints.removeAll(QString());
    if (!hints.isEmpty()) {
        m_counterHint = hints.join(QStringLiteral("  "));
        statusBar()->showMessage(m_counterHint);
    } else if (!m_counterHint.isEmpty() && statusBar()->currentMessage() == m_counterHint) {
        // The counters agree again: a hint that stayed would now mislead.
        statusBar()->clearMessage();
        m_counterHint.clear();
    }
}

void MainWindow::showRuntimeErrorDetail(const RuntimeError &e)
{
    statusBar()->showMessage(QStringLiteral("Run-time error %1: %2.")
                                 .arg(int(e.number()))
                                 .arg(e.detail().isEmpty() ? e.description() : e.detail()));
}
