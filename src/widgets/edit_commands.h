#pragma once

#include <QObject>
#include <QPointer>

class PointList;
class QAction;
class QLineEdit;
class QMenu;
class QWidget;

// Cut, Copy and Paste on the text field the user works in, and Copy All Entries on the point
// list. Opening a menu by its key takes the focus to the menu bar, so the target is the last
// field or list of the window that had the focus; any other control there drops it.
class EditCommands final : public QObject
{
    Q_OBJECT

public:
    explicit EditCommands(QWidget *window);
    // Cut, Copy, Paste, a separator and Copy All Entries.
    void addTo(QMenu *menu);

signals:
    void copyAllRequested(const QStringList &entries);

private:
    void follow(QWidget *now);
    void update();

    QWidget *m_window;
    QPointer<QLineEdit> m_field;
    QPointer<PointList> m_list;
    QAction *m_cut, *m_copy, *m_paste, *m_copyAll;
};
