#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Files dropped on a window, one local file at a time. The panel takes no drops itself: they
// reach the window, which keeps a filter off the panel's moves and presses. Fields keep their
// own drops of text, and let a dropped file through to this.
class FileDrops final : public QObject
{
public:
    // Whether a file dropped there is taken, and what a taken one does.
    using Takes = std::function<bool(const QString &path, bool onPanel)>;
    using Open = std::function<void(const QString &path)>;

    FileDrops(QWidget *window, QWidget *panel, Takes takes, Open open);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_panel;
    Takes m_takes;
    Open m_open;
};
