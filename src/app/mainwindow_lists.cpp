// The list editing buttons and keys: remove the selected entry, clear a list, insert a typed
// entry. Each edit goes on the undo stack.
#include "app/mainwindow.h"

#include "app/desktop.h"
#include "app/program_title.h"
#include "lists/list_changes.h"
#include "lists/list_editing.h"
#include "widgets/point_list.h"

#include <utility>

void MainWindow::removeSelected(PointList *list)
{
    EntryList &entries = *list;
    auto change = std::make_unique<EntriesRemoved>(entries, EntriesRemoved::Which::Selected);
    xListRemoveSelected(entries);
    redrawShapes();
    record(std::move(change), QStringLiteral("Remove Selected"));
    showCounterHints(list == lstLWM ? Counters::Lwm : Counters::Vtp);
}

void MainWindow::clearEntries(PointList *list)
{
    EntryList &entries = *list;
    auto change = std::make_unique<EntriesRemoved>(entries, EntriesRemoved::Which::All);
    clearList(entries);
    redrawShapes();
    record(std::move(change),
           list == lstLWM ? QStringLiteral("Clear LWM List") : QStringLiteral("Clear VTP List"));
    showCounterHints(list == lstLWM ? Counters::Lwm : Counters::Vtp);
}

void MainWindow::insertEntry(PointList *list)
{
    const QString typed =
        m_desktop.inputBox(this, QLatin1String(insertEntryPrompt), programTitle());
    EntryList &entries = *list;
    auto change = std::make_unique<EntryInserted>(entries);
    if (insertTypedEntry(entries, typed))
        redrawShapes();
    record(std::move(change), QStringLiteral("Insert"));
    showCounterHints(list == lstLWM ? Counters::Lwm : Counters::Vtp);
}

void MainWindow::cmdlwmclearlistitem_Click()
{
    removeSelected(lstLWM);
}

void MainWindow::cmdvtpclearitem_Click()
{
    removeSelected(lstVTP);
}

void MainWindow::cmdclearlwmlist_Click()
{
    clearEntries(lstLWM);
}

void MainWindow::cmdclearvtplist_Click()
{
    clearEntries(lstVTP);
}

void MainWindow::lstLWM_DblClick()
{
    insertEntry(lstLWM);
}

void MainWindow::lstVTP_DblClick()
{
    insertEntry(lstVTP);
}
