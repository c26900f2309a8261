#pragma once

#include "entry_list.h"

#include <QListWidget>

// A point list of the window as the list editing routines see it.
class ListWidgetEntries final : public EntryList
{
public:
    explicit ListWidgetEntries(QListWidget *list) : m_list(list) {}

    int count() const override { return m_list->count(); }
    QString entry(int index) const override { return m_list->item(index)->text(); }
    bool isSelected(int index) const override { return m_list->item(index)->isSelected(); }
    int selectedIndex() const override
    {
        // Not currentRow(): that can be set while nothing is selected.
        const QList<QListWidgetItem *> selected = m_list->selectedItems();
        return selected.isEmpty() ? -1 : m_list->row(selected.first());
    }
    void removeAt(int index) override { delete m_list->takeItem(index); }
    void insertAt(int index, const QString &text) override { m_list->insertItem(index, text); }
    void clear() override { m_list->clear(); }

private:
    QListWidget *m_list;
};
