#pragma once

#include <QString>

// A list of text entries as the editing routines see it. The window implements it over its
// list widgets; the routines never know which widget they work on.
class EntryList
{
public:
    virtual ~EntryList();

    virtual int count() const = 0;
    virtual QString entry(int index) const = 0;
    virtual bool isSelected(int index) const = 0;
    // -1 when no entry is selected.
    virtual int selectedIndex() const = 0;
    virtual void removeAt(int index) = 0;
    // Entries from index on move down by one; index == count() appends.
    virtual void insertAt(int index, const QString &text) = 0;
    virtual void clear() = 0;
};
