#include "lists/list_changes.h"

CounterField::~CounterField() = default;
ListChange::~ListChange() = default;

namespace {
QStringList entriesFrom(const EntryList &list, int first)
{
    QStringList entries;
    entries.reserve(list.count() - first);
    for (int i = first; i < list.count(); ++i)
        entries << list.entry(i);
    return entries;
}

void append(EntryList &list, const QStringList &entries)
{
    for (const QString &e : entries)
        list.insertAt(list.count(), e);
}

void truncate(EntryList &list, int count)
{
    // From the end, so that no entry moves.
    while (list.count() > count)
        list.removeAt(list.count() - 1);
}
} // namespace

PointCaptured::PointCaptured(EntryList &lwm, EntryList &vtp, CounterField &lwmCounter,
                             CounterField &vtpCounter)
    : m_lwm(lwm), m_vtp(vtp), m_lwmCounter(lwmCounter), m_vtpCounter(vtpCounter),
      m_lwmBefore(lwm.count()), m_vtpBefore(vtp.count()), m_lwmCounterBefore(lwmCounter.state()),
      m_vtpCounterBefore(vtpCounter.state())
{
}

ListChange::Outcome PointCaptured::finish()
{
    // A press only ever appends; anything else is not ours to take back.
    if (m_lwm.count() < m_lwmBefore || m_vtp.count() < m_vtpBefore)
        return Outcome::Inconsistent;
    m_lwmAdded = entriesFrom(m_lwm, m_lwmBefore);
    m_vtpAdded = entriesFrom(m_vtp, m_vtpBefore);
    m_lwmCounterAfter = m_lwmCounter.state();
    m_vtpCounterAfter = m_vtpCounter.state();
    const bool changed = !m_lwmAdded.isEmpty() || !m_vtpAdded.isEmpty()
                         || m_lwmCounterAfter != m_lwmCounterBefore
                         || m_vtpCounterAfter != m_vtpCounterBefore;
    return changed ? Outcome::Recorded : Outcome::Unchanged;
}

void PointCaptured::undo()
{
    truncate(m_lwm, m_lwmBefore);
    truncate(m_vtp, m_vtpBefore);
    m_lwmCounter.setState(m_lwmCounterBefore);
    m_vtpCounter.setState(m_vtpCounterBefore);
}

void PointCaptured::redo()
{
    append(m_lwm, m_lwmAdded);
    append(m_vtp, m_vtpAdded);
    m_lwmCounter.setState(m_lwmCounterAfter);
    m_vtpCounter.setState(m_vtpCounterAfter);
}

EntriesRemoved::EntriesRemoved(EntryList &list, Which which)
    : m_list(list), m_which(which), m_countBefore(list.count())
{
    for (int i = 0; i < m_countBefore; ++i)
        if (which == Which::All || list.isSelected(i))
            m_removed.emplace_back(i, list.entry(i));
}

ListChange::Outcome EntriesRemoved::finish()
{
    // Nothing selected, or a failing Clear that left the list as it was.
    if (m_list.count() == m_countBefore)
        return Outcome::Unchanged;
    return m_list.count() == m_countBefore - int(m_removed.size()) ? Outcome::Recorded
                                                                   : Outcome::Inconsistent;
}

void EntriesRemoved::undo()
{
    // Ascending, so each entry goes back to the very place it had.
    for (const auto &[index, text] : m_removed)
        m_list.insertAt(index, text);
}

void EntriesRemoved::redo()
{
    if (m_which == Which::All) {
        m_list.clear();
        return;
    }
    for (auto it = m_removed.rbegin(); it != m_removed.rend(); ++it)
        m_list.removeAt(it->first);
}

EntryInserted::EntryInserted(EntryList &list)
    : m_list(list), m_countBefore(list.count()), m_selectedBefore(list.selectedIndex())
{
}

ListChange::Outcome EntryInserted::finish()
{
    if (m_list.count() == m_countBefore)
        return Outcome::Unchanged;
    if (m_list.count() != m_countBefore + 1)
        return Outcome::Inconsistent;
    m_index = m_selectedBefore >= 0 ? m_selectedBefore : m_countBefore;
    m_text = m_list.entry(m_index);
    return Outcome::Recorded;
}

void EntryInserted::undo()
{
    m_list.removeAt(m_index);
}
void EntryInserted::redo()
{
    m_list.insertAt(m_index, m_text);
}
