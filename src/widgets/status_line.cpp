#include "widgets/status_line.h"

#include "widgets/eliding_label.h"
#include "widgets/message_log.h"

#include <QLabel>
#include <QStatusBar>

#include <algorithm>

StatusLine::StatusLine(QStatusBar *bar, QWidget *window)
    : QObject(bar), m_place(new QLabel(bar)), m_message(new ElidingLabel(bar)), m_window(window)
{
    bar->setSizeGripEnabled(false); // the window has one fixed size
    m_place->setObjectName(QStringLiteral("placeStatus"));
    m_place->setAccessibleName(QStringLiteral("Grid and cursor place"));
    m_place->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Wide enough for the widest place and cursor lines, so that the messages keep the rest.
    const QFontMetrics metrics = m_place->fontMetrics();
    int widest = 0;
    for (const char *line :
         {"Area image: S 88\u00b0 88.888' to S 88\u00b0 88.888'",
          "W 188\u00b0 88.888' to W 188\u00b0 88.888'", "Cursor: S 88\u00b0 88.888'  (-88.8888888)",
          "W 188\u00b0 88.888'  (-188.8888888)", "Calculate places it on the globe."})
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(line)));
    m_place->setContentsMargins(0, 0, 6, 0); // clear of the window's edge
    m_place->setFixedSize(widest + 12, 2 * metrics.lineSpacing() + 2);
    m_message->setObjectName(QStringLiteral("messageStatus"));
    m_message->setAccessibleName(QStringLiteral("Message"));
    bar->addWidget(m_message, 1);
    bar->addPermanentWidget(m_place);
}

void StatusLine::setPlace(const QString &text)
{
    m_place->setText(text);
}

void StatusLine::warn(const QString &text)
{
    say(text);
    m_message->setElideMode(Qt::ElideRight);
}

void StatusLine::say(const QString &text)
{
    m_message->setElideMode(Qt::ElideMiddle);
    m_message->setText(text);
    if (text.isEmpty())
        return;
    if (m_log)
        return m_log->add(text);
    m_unshown.append({text, QTime::currentTime()});
    if (m_unshown.size() > MessageLog::kept)
        m_unshown.removeFirst();
}

void StatusLine::sayWarnings(const QString &warnings, const QString &lead)
{
    if (!warnings.isEmpty()) {
        // The warnings first, so that a narrow line cuts the path after them, not them.
        m_warnings = lead.isEmpty() ? warnings : warnings + QStringLiteral("  ") + lead;
        warn(m_warnings);
    } else if (!lead.isEmpty()) {
        say(lead);
        m_warnings.clear();
    } else if (!m_warnings.isEmpty() && message() == m_warnings) {
        clearMessage();
        m_warnings.clear();
    }
}

QString StatusLine::message() const
{
    return m_message->text();
}

void StatusLine::clearMessage()
{
    m_message->clear();
}

void StatusLine::showLog()
{
    if (!m_log) {
        m_log = new MessageLog(m_window);
        m_log->setObjectName(QStringLiteral("messageLog"));
        for (const auto &[text, at] : std::as_const(m_unshown))
            m_log->add(text, at);
        m_unshown.clear();
    }
    m_log->show();
    m_log->showNewest();
    m_log->raise();
    m_log->activateWindow();
}
