#include "lists/list_editing.h"

EntryList::~EntryList() = default;

void xListRemoveSelected(EntryList &list)
{
    // From the last entry to the first, so a removal never shifts an entry not yet looked at.
    for (int i = list.count(); i > 0;) {
        --i;
        if (list.isSelected(i))
            list.removeAt(i);
    }
}

void clearList(EntryList &list) noexcept
{
    try {
        list.clear();
    } catch (...) {
        // Nothing useful to tell the user; the list keeps whatever it still holds.
    }
}

bool insertTypedEntry(EntryList &list, const QString &typed)
{
    if (typed.isEmpty())
        return false;
    const int selected = list.selectedIndex();
    // No selection offers no position, so the entry goes to the end rather than nowhere.
    const bool validPosition = selected >= 0 && selected <= list.count();
    list.insertAt(validPosition ? selected : list.count(), typed);
    return true;
}

QString entriesText(const QStringList &entries)
{
    return entries.isEmpty() ? QString() : entries.join(u'\n') + u'\n';
}
