#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTime>

class ElidingLabel;
class MessageLog;
class QLabel;
class QStatusBar;
class QWidget;

// The window's status line. On the left, passing messages, elided when too long, each also
// kept in a log that a window of its own shows. On the right, two lines that say where the
// grid and the cursor are, in their own widget so that menu hover texts and messages leave
// them alone, and of a fixed size so that a mouse move never lays the status line out again.
class StatusLine final : public QObject
{
    Q_OBJECT

public:
    // The log is a window of its own beside `window`.
    StatusLine(QStatusBar *bar, QWidget *window);

    void setPlace(const QString &text);
    void say(const QString &text);
    // A message that starts with a warning, which the line keeps whole where it can: what
    // follows it (a path) is what is cut.
    void warn(const QString &text);
    // What a step did (`lead`), after what is wrong with it (`warnings`), as warn() shows
    // it. Warnings shown before go once a step has none: they would now mislead.
    void sayWarnings(const QString &warnings, const QString &lead);
    QString message() const;
    void clearMessage();
    void showLog();

private:
    QLabel *m_place;
    ElidingLabel *m_message;
    QWidget *m_window;
    // The log window is built when first shown; until then the messages wait here.
    QPointer<MessageLog> m_log;
    QList<std::pair<QString, QTime>> m_unshown;
    QString m_warnings; // as sayWarnings() showed them, while the line still shows them
};
