#pragma once

#include "lists/entry_list.h"

#include <QString>
#include <QStringList>

// The prompt of the input box that asks for an entry to insert.
inline constexpr char insertEntryPrompt[] = "Value to insert";

// Removes every selected entry and keeps the order of the rest. Serves lists that allow
// several selected entries as well as single-selection ones; no selection changes nothing.
void xListRemoveSelected(EntryList &list);

// Empties the list. A failure of the list is swallowed: clearing must always end quietly.
void clearList(EntryList &list) noexcept;

// Inserts the typed text, exactly as typed, before the selected entry, or at the end when
// nothing is selected. Empty text (also a cancelled input box) changes nothing. Returns
// whether an entry was inserted.
bool insertTypedEntry(EntryList &list, const QString &typed);

// The entries as the clipboard gets them: each on its own line, the last one ended too, as a
// text file would have it; nothing for no entries.
QString entriesText(const QStringList &entries);
