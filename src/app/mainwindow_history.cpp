// Undo and redo of the session's steps, and the lists' context menus.
#include "app/mainwindow.h"

#include "lists/list_editing.h"
#include "session/session.h"
#include "widgets/desktop.h"
#include "widgets/point_list.h"

#include <QAction>
#include <QMenu>
#include <QShortcut>
#include <QUndoStack>

void MainWindow::buildHistory()
{
    QUndoStack *history = m_session->history();
    // With access keys, as Cut, Copy and Paste beside them in the Edit menu have.
    QAction *undo = history->createUndoAction(this, QStringLiteral("&Undo"));
    undo->setObjectName(QStringLiteral("undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = history->createRedoAction(this, QStringLiteral("&Redo"));
    redo->setObjectName(QStringLiteral("redo"));
    // The first one is the one the list menus show.
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // On the window itself; a focused field keeps Ctrl+Z for its own typing.
    addActions({undo, redo});
    // A step taken back or made again changes the lists, the counters or the whole work.
    connect(m_session, &Session::stepped, this, [this] {
        showCounterHints({ListSide::Lwm, ListSide::Vtp});
        showGridBounds();
    });

    for (ListSide side : {ListSide::Lwm, ListSide::Vtp})
        buildListMenu(listOf(side), side);
    buildEditMenu();
}

void MainWindow::buildListMenu(PointList *list, ListSide side)
{
    // Built when first opened: most runs never open it, and the window starts sooner.
    const auto menu = [this, list, side] {
        const QString name = list->objectName() + QStringLiteral("Menu");
        auto *built = list->findChild<QMenu *>(name, Qt::FindDirectChildrenOnly);
        return built ? built : listMenu(list, side, name);
    };
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this,
            [menu, list](QPoint at) { menu()->popup(list->viewport()->mapToGlobal(at)); });
    // Shift+F10 opens it from the keyboard, below the selected entry.
    auto *key = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), list, nullptr, nullptr,
                              Qt::WidgetShortcut);
    connect(key, &QShortcut::activated, this, [menu, list] {
        const int row = list->selectedIndex();
        const QRect view = list->viewport()->rect();
        const QPoint at = row >= 0 && view.intersects(list->rowRect(row))
                              ? list->rowRect(row).bottomLeft() + QPoint(8, 0)
                              : QPoint(8, 8);
        menu()->popup(list->viewport()->mapToGlobal(at));
    });
}

QMenu *MainWindow::listMenu(PointList *list, ListSide side, const QString &name)
{
    const bool lwm = side == ListSide::Lwm;
    auto *menu = new QMenu(list);
    menu->setObjectName(name);
    // The keys are the list's own (it handles them itself), shown here only as a reminder.
    menu->addAction(QStringLiteral("Remove Selected\tDel"), this,
                    lwm ? &MainWindow::cmdlwmclearlistitem_Click
                        : &MainWindow::cmdvtpclearitem_Click);
    menu->addAction(QStringLiteral("Insert…\tIns"), this,
                    lwm ? &MainWindow::lstLWM_DblClick : &MainWindow::lstVTP_DblClick);
    menu->addAction(QStringLiteral("Clear"), this,
                    lwm ? &MainWindow::cmdclearlwmlist_Click : &MainWindow::cmdclearvtplist_Click);
    menu->addSeparator();
    menu->addAction(findChild<QAction *>(QStringLiteral("undo")));
    menu->addAction(findChild<QAction *>(QStringLiteral("redo")));
    menu->addSeparator();
    menu->addAction(QStringLiteral("Copy all entries"), this,
                    [this, side] { m_desktop.copyText(entriesText(m_session->entries(side))); });
    return menu;
}
