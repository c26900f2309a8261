// Undo and redo of the edits of the working lists, and the lists' context menus.
#include "app/mainwindow.h"

#include "app/desktop.h"
#include "app/line_edit_counter.h"
#include "lists/list_changes.h"
#include "widgets/point_list.h"

#include <QAction>
#include <QMenu>
#include <QShortcut>
#include <QUndoCommand>
#include <QUndoStack>

#include <memory>
#include <utility>

namespace {
constexpr int undoLimit = 10000;

// An edit the handler has already made: the stack's first redo() is that edit itself, so it
// does nothing; only later redos make it again.
class MadeChange final : public QUndoCommand
{
public:
    MadeChange(std::unique_ptr<ListChange> change, const QString &text,
               std::function<void()> afterwards)
        : QUndoCommand(text), m_change(std::move(change)), m_afterwards(std::move(afterwards))
    {
    }
    void undo() override
    {
        m_change->undo();
        m_afterwards();
    }
    void redo() override
    {
        if (std::exchange(m_made, false))
            return;
        m_change->redo();
        m_afterwards();
    }

private:
    std::unique_ptr<ListChange> m_change;
    std::function<void()> m_afterwards;
    bool m_made = true;
};
} // namespace

void MainWindow::buildHistory()
{
    m_lwmCounter = std::make_unique<LineEditCounter>(txtlwmnumber);
    m_vtpCounter = std::make_unique<LineEditCounter>(txtvtpnumber);

    m_history = new QUndoStack(this);
    m_history->setObjectName(QStringLiteral("history"));
    // About 600 bytes a press: the last ten thousand steps are far more than a session needs
    // and keep a hundred thousand presses from costing 60 MB in history alone.
    m_history->setUndoLimit(undoLimit);
    QAction *undo = m_history->createUndoAction(this, QStringLiteral("Undo"));
    undo->setObjectName(QStringLiteral("undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = m_history->createRedoAction(this, QStringLiteral("Redo"));
    redo->setObjectName(QStringLiteral("redo"));
    // The first one is the one the list menus show.
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // On the window itself, since its fixed menu bar has no Edit menu; a focused field keeps
    // Ctrl+Z for its own typing.
    addActions({undo, redo});

    buildListMenu(lstLWM, undo, redo);
    buildListMenu(lstVTP, undo, redo);
}

void MainWindow::buildListMenu(PointList *list, QAction *undo, QAction *redo)
{
    const bool lwm = list == lstLWM;
    auto *menu = new QMenu(list);
    menu->setObjectName(list->objectName() + QStringLiteral("Menu"));
    // The keys are the list's own (it handles them itself), shown here only as a reminder.
    menu->addAction(QStringLiteral("Remove Selected\tDel"), this,
                    lwm ? &MainWindow::cmdlwmclearlistitem_Click
                        : &MainWindow::cmdvtpclearitem_Click);
    menu->addAction(QStringLiteral("Insert…\tIns"), this,
                    lwm ? &MainWindow::lstLWM_DblClick : &MainWindow::lstVTP_DblClick);
    menu->addAction(QStringLiteral("Clear"), this,
                    lwm ? &MainWindow::cmdclearlwmlist_Click : &MainWindow::cmdclearvtplist_Click);
    menu->addSeparator();
    menu->addAction(undo);
    menu->addAction(redo);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Copy all entries"), this, [this, list] {
        // Each entry on its own line, the last one ended too, as a text file would have it.
        m_desktop.copyText(list->entries().isEmpty() ? QString()
                                                     : list->entries().join(u'\n') + u'\n');
    });

    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, menu,
            [menu, list](QPoint at) { menu->popup(list->viewport()->mapToGlobal(at)); });
    // Shift+F10 opens it from the keyboard, below the selected entry.
    auto *key = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), list, nullptr, nullptr,
                              Qt::WidgetShortcut);
    connect(key, &QShortcut::activated, menu, [menu, list] {
        const int row = list->selectedIndex();
        const QRect view = list->viewport()->rect();
        const QPoint at = row >= 0 && view.intersects(list->rowRect(row))
                              ? list->rowRect(row).bottomLeft() + QPoint(8, 0)
                              : QPoint(8, 8);
        menu->popup(list->viewport()->mapToGlobal(at));
    });
}

void MainWindow::record(std::unique_ptr<ListChange> change, const QString &text)
{
    switch (change->finish()) {
    case ListChange::Outcome::Unchanged:
        return;
    case ListChange::Outcome::Recorded:
        m_history->push(new MadeChange(std::move(change), text, [this] {
            redrawShapes();
            showCounterHints(Counters::Both);
        }));
        return;
    case ListChange::Outcome::Inconsistent:
        // The older steps no longer fit the lists; taking them back would garble them.
        m_history->clear();
        return;
    }
}
