#include "widgets/session_list.h"

#include "session/session.h"
#include "widgets/point_list.h"

void showSessionList(PointList *list, Session &session, ListSide side)
{
    list->setEntries(session.entries(side));
    QObject::connect(&session, &Session::entriesChanged, list,
                     [list, side](ListSide changed, const EntriesChange &change) {
                         if (changed != side)
                             return;
                         switch (change.kind) {
                         case EntriesChange::Appended:
                             return list->rowsAppended(change.index);
                         case EntriesChange::Inserted:
                             return list->rowInserted(change.index);
                         case EntriesChange::Removed:
                             return list->rowRemoved(change.index);
                         case EntriesChange::Reset:
                             return list->rowsReset();
                         }
                     });
    QObject::connect(&session, &Session::selectionChanged, list,
                     [list, side, &session](ListSide changed) {
                         const int row = session.selected(side);
                         if (changed == side && list->selectedIndex() != row)
                             list->selectRow(row);
                     });
    QObject::connect(list, &PointList::selectedEntryChanged, &session,
                     [list, side, &session] { session.select(side, list->selectedIndex()); });
}
