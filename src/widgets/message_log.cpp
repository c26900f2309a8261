#include "widgets/message_log.h"

#include <QScrollBar>
#include <QTextBlock>

MessageLog::MessageLog(QWidget *parent) : QPlainTextEdit(parent)
{
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Messages"));
    setAccessibleName(QStringLiteral("Messages"));
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setMaximumBlockCount(kept);
    resize(640, 320);
}

void MessageLog::add(const QString &message, QTime at)
{
    // A message of several lines stays one entry.
    appendPlainText(at.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ")
                    + QString(message).replace(u'\n', u' '));
    if (isVisible())
        showNewest();
}

void MessageLog::showNewest()
{
    // The cursor left at the end of a long line would scroll the view to its tail.
    QTextCursor start(document()->lastBlock());
    setTextCursor(start);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    ensureCursorVisible();
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
}
