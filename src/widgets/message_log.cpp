#include "widgets/message_log.h"

MessageLog::MessageLog(QWidget *parent) : QPlainTextEdit(parent)
{
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Messages"));
    setAccessibleName(QStringLiteral("Messages"));
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setMaximumBlockCount(kept);
    resize(640, 320);
}

void MessageLog::add(const QString &message, QTime at)
{
    // A message of several lines stays one entry.
    appendPlainText(at.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ")
                    + QString(message).replace(u'\n', u' '));
}
