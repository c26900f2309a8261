// The Edit menu: the history's Undo and Redo, and the clipboard on the field or list the user
// works in.
#include "app/mainwindow.h"

#include "lists/list_editing.h"
#include "widgets/desktop.h"
#include "widgets/edit_commands.h"

#include <QAction>
#include <QMenuBar>

void MainWindow::buildEditMenu()
{
    auto *edit = new QMenu(QStringLiteral("&Edit"), menuBar());
    edit->setObjectName(QStringLiteral("mnuedit"));
    menuBar()->insertMenu(findChild<QAction *>(QStringLiteral("mnu01")), edit);
    edit->addAction(findChild<QAction *>(QStringLiteral("undo")));
    edit->addAction(findChild<QAction *>(QStringLiteral("redo")));
    edit->addSeparator();
    auto *commands = new EditCommands(this);
    commands->addTo(edit);
    connect(commands, &EditCommands::copyAllRequested, this,
            [this](const QStringList &entries) { m_desktop.copyText(entriesText(entries)); });
}
