#pragma once

#include "widgets/point_list.h"

#include <QStringList>

// Entries kept beside a point list and edited as the session edits its own: each change is
// made first, then told to the list.
struct ShownEntries
{
    QStringList entries;
    PointList *list = nullptr;

    void show(PointList *on)
    {
        entries.clear();
        list = on;
        list->setEntries(entries);
    }
    void append(const QStringList &added)
    {
        const int first = int(entries.size());
        entries << added;
        list->rowsAppended(first);
    }
    void insertAt(int index, const QString &text)
    {
        entries.insert(index, text);
        list->rowInserted(index);
    }
    void removeAt(int index)
    {
        entries.removeAt(index);
        list->rowRemoved(index);
    }
    void clear()
    {
        entries.clear();
        list->rowsReset();
    }
};
