#pragma once

#include "lists/entry_list.h"

#include <QStringList>

#include <initializer_list>
#include <stdexcept>
#include <utility>
#include <vector>

// Keeps the selection with its entry, as a list widget does when entries move.
class VectorList : public EntryList
{
public:
    VectorList(std::initializer_list<const char *> texts, std::initializer_list<int> selected = {})
    {
        for (const char *t : texts)
            m_entries.push_back({QString::fromUtf8(t), false});
        for (int i : selected)
            m_entries.at(i).second = true;
    }

    int count() const override { return int(m_entries.size()); }
    QString entry(int index) const override { return m_entries.at(index).first; }
    bool isSelected(int index) const override { return m_entries.at(index).second; }
    int selectedIndex() const override
    {
        for (int i = 0; i < count(); ++i)
            if (m_entries[i].second)
                return i;
        return -1;
    }
    void removeAt(int index) override
    {
        // at() first: a wrong index must fail the test, not corrupt memory.
        m_entries.at(index);
        m_entries.erase(m_entries.begin() + index);
    }
    void insertAt(int index, const QString &text) override
    {
        if (index < 0 || index > count())
            throw std::out_of_range("insertAt");
        m_entries.insert(m_entries.begin() + index, {text, false});
    }
    void clear() override { m_entries.clear(); }

    void append(const QString &text) { m_entries.push_back({text, false}); }
    void select(int index) { m_entries.at(index).second = true; }

    QStringList texts() const
    {
        QStringList out;
        for (const auto &e : m_entries)
            out << e.first;
        return out;
    }

private:
    std::vector<std::pair<QString, bool>> m_entries;
};

// "0", "1", ... as a long list's entries.
inline VectorList numbered(int count)
{
    VectorList list({});
    for (int i = 0; i < count; ++i)
        list.append(QString::number(i));
    return list;
}
