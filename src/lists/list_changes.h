#pragma once

#include "lists/entry_list.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// What a counter field shows: its text and whether it is coloured as a warning.
struct CounterState
{
    QString text;
    bool warning = false;

    friend bool operator==(const CounterState &, const CounterState &) = default;
};

// A counter field of the window as the changes see it.
class CounterField
{
public:
    virtual ~CounterField();
    virtual CounterState state() const = 0;
    virtual void setState(const CounterState &state) = 0;
};

// One edit of the working lists, recorded around the code that makes it so that it can be
// taken back and made again. Construct it just before the edit; call finish() right after.
class ListChange
{
public:
    enum class Outcome {
        Unchanged,    // nothing to record
        Recorded,     // undo() and redo() are ready
        Inconsistent, // the lists changed in a way this change cannot take back
    };

    virtual ~ListChange();
    virtual Outcome finish() = 0;
    // Both expect the lists exactly as the other one (or the edit itself) left them.
    virtual void undo() = 0;
    virtual void redo() = 0;
};

// A press on the picture: one entry appended to the LWM list, the VTP entries (a start group
// too, when one is due) appended to the VTP list, and both counters rewritten.
class PointCaptured final : public ListChange
{
public:
    PointCaptured(EntryList &lwm, EntryList &vtp, CounterField &lwmCounter,
                  CounterField &vtpCounter);
    Outcome finish() override;
    void undo() override;
    void redo() override;

private:
    EntryList &m_lwm, &m_vtp;
    CounterField &m_lwmCounter, &m_vtpCounter;
    int m_lwmBefore, m_vtpBefore;
    CounterState m_lwmCounterBefore, m_vtpCounterBefore;
    CounterState m_lwmCounterAfter, m_vtpCounterAfter;
    QStringList m_lwmAdded, m_vtpAdded;
};

// Remove Selected, or Clear (which takes every entry, selected or not).
class EntriesRemoved final : public ListChange
{
public:
    enum class Which { Selected, All };
    EntriesRemoved(EntryList &list, Which which);
    Outcome finish() override;
    void undo() override;
    void redo() override;

private:
    EntryList &m_list;
    Which m_which;
    int m_countBefore;
    // Ascending by index, as they stood before the removal.
    std::vector<std::pair<int, QString>> m_removed;
};

// An entry typed into the input box and inserted before the selected entry or at the end.
class EntryInserted final : public ListChange
{
public:
    explicit EntryInserted(EntryList &list);
    Outcome finish() override;
    void undo() override;
    void redo() override;

private:
    EntryList &m_list;
    int m_countBefore, m_selectedBefore;
    int m_index = -1;
    QString m_text;
};
