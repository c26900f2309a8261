#pragma once

#include <QAccessible>
#include <QAccessibleWidget>

#include <map>

class PointList;

// The row items a screen reader has asked for, and only those: a list of a hundred thousand
// entries has none until a reader asks. Each item stays on its entry as rows come and go
// above it, so that a reader holding one goes on reading the same entry.
class AccessibleRows
{
public:
    AccessibleRows() = default;
    AccessibleRows(const AccessibleRows &) = delete;
    AccessibleRows &operator=(const AccessibleRows &) = delete;
    ~AccessibleRows();

    // nullptr for a row the list does not have.
    QAccessibleInterface *item(PointList *list, int row);
    void inserted(int row);
    void removed(int row);
    void cleared();

private:
    void renumber(int from, int by);

    std::map<int, QAccessible::Id> m_ids;
};

// What a screen reader reads of a point list: a list with one item per row, named by the
// entry's text.
class PointListAccessible final : public QAccessibleWidget
{
public:
    explicit PointListAccessible(PointList *list);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    // The selected row, which is also the row the keys move from: what a reader asks for to
    // know where the user is.
    QAccessibleInterface *focusChild() const override;

private:
    PointList *list() const;
};

// Lets QAccessible build the interface above for point lists. Calling it again does nothing.
void installPointListAccessibility();

// Tell a screen reader what changed in a list. Each returns at once, building nothing, when
// no assistive technology listens.
void announceRowsInserted(PointList &list, int first, int last);
void announceRowsRemoved(PointList &list, int first, int last);
void announceRowsReset(PointList &list);
// The selection moved from one row to another; -1 for none.
void announceSelection(PointList &list, int from, int to);
void announceFocus(PointList &list);
