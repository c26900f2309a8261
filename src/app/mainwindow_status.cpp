// The status line: a permanent part that says where the grid and the cursor are, and passing
// messages for what just happened: what a run-time error hit, and the counters' traps.
#include "app/mainwindow.h"

#include "text/numbers.h"
#include "text/runtime_error.h"
#include "widgets/point_list.h"

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

namespace {

QString counterReads(const QString &counter)
{
    return counter.trimmed().isEmpty() ? QStringLiteral("is empty")
                                       : QStringLiteral("reads ") + counter.trimmed();
}

// The files take the counters, not the lists, and the list edits leave the counters alone:
// say so when they no longer agree.
QString lwmCounterHint(const QString &counter, int entries)
{
    if (leadingNumber(counter) == entries)
        return QString();
    return QStringLiteral("The LWM counter %1 but the LWM list holds %2 entries, and Create "
                          "writes what the counter says: type %2 into it, or the next press "
                          "sets it.")
        .arg(counterReads(counter))
        .arg(entries);
}

QString vtpCounterHint(const QString &counter, int entries)
{
    const double reads = leadingNumber(counter);
    if (entries == 0) {
        if (reads <= 1)
            return QString();
        return QStringLiteral("The VTP list is empty but its counter %1: the next press adds a "
                              "single point instead of starting a line. Type 0 into the counter "
                              "to start one.")
            .arg(counterReads(counter));
    }
    const int points = entries - 2; // the two width entries of a line's start
    if (reads == points)
        return QString();
    const QString fix =
        points >= 0 ? QStringLiteral("type %1 into it, or the next press sets it").arg(points)
                    : QStringLiteral("the next press sets it");
    return QStringLiteral("The VTP counter %1 but the VTP list's %2 entries make %3 points (two "
                          "entries are widths), and Create writes what the counter says: %4.")
        .arg(counterReads(counter))
        .arg(entries)
        .arg(points)
        .arg(fix);
}

} // namespace

void MainWindow::buildStatusLine()
{
    statusBar()->setSizeGripEnabled(false); // the window has one fixed size
    // Its own widget, so that menu hover texts and passing messages leave it alone.
    m_placeStatus = new QLabel(statusBar());
    m_placeStatus->setObjectName(QStringLiteral("placeStatus"));
    m_placeStatus->setAccessibleName(QStringLiteral("Grid and cursor place"));
    statusBar()->addPermanentWidget(m_placeStatus);
    setPlaceStatus(areaStatusText());
}

void MainWindow::setPlaceStatus(const QString &text)
{
    m_placeStatus->setText(text);
}

void MainWindow::showCounterHints()
{
    QStringList hints;
    for (const QString &hint : {lwmCounterHint(txtlwmnumber->text(), lstLWM->count()),
                                vtpCounterHint(txtvtpnumber->text(), lstVTP->count())}) {
        if (!hint.isEmpty())
            hints << hint;
    }
    if (!hints.isEmpty()) {
        m_counterHint = hints.join(QStringLiteral("  "));
        statusBar()->showMessage(m_counterHint);
    } else if (!m_counterHint.isEmpty() && statusBar()->currentMessage() == m_counterHint) {
        // The counters agree again: a hint that stayed would now mislead.
        statusBar()->clearMessage();
        m_counterHint.clear();
    }
}

void MainWindow::showRuntimeErrorDetail(const RuntimeError &e, const QString &afterwards)
{
    QString text = QStringLiteral("Run-time error %1: %2")
                       .arg(int(e.number()))
                       .arg(e.detail().isEmpty() ? e.description() : e.detail());
    if (!text.endsWith(u'.'))
        text += u'.';
    if (!afterwards.isEmpty())
        text += u' ' + afterwards;
    statusBar()->showMessage(text);
}
