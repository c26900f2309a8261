#pragma once

#include <QPlainTextEdit>
#include <QTime>

// The last messages of a status line with their times, oldest first, in a window of its own
// that stays open beside the work. Long messages wrap, so that each is read from its start.
class MessageLog final : public QPlainTextEdit
{
    Q_OBJECT

public:
    static constexpr int kept = 200;

    explicit MessageLog(QWidget *parent = nullptr);
    void add(const QString &message, QTime at = QTime::currentTime());
    // Scrolls to the start of the newest message.
    void showNewest();
};
