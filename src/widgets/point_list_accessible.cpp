#include "widgets/point_list_accessible.h"

#include "widgets/point_list.h"

#include <QPointer>
#include <QWindow>

#include <utility>

namespace {

// One row as a reader sees it. It holds a row number, not the text, so it reads what the
// list holds now; AccessibleRows moves the number when rows come or go above it.
class PointListItemAccessible final : public QAccessibleInterface
{
public:
    PointListItemAccessible(PointList *list, int row) : m_list(list), m_row(row) {}

    PointList *list() const { return m_list; }
    int row() const { return m_row; }
    void setRow(int row) { m_row = row; }

    bool isValid() const override { return m_list && m_row < m_list->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_list ? m_list->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_list);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? m_list->entry(m_row) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect r = m_list->rowRect(m_row);
        return QRect(m_list->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = s.focusable = true;
        s.selected = m_list->isSelected(m_row);
        s.focused = s.selected && m_list->hasFocus();
        return s;
    }

private:
    QPointer<PointList> m_list;
    int m_row;
};

PointListItemAccessible *itemOf(QAccessible::Id id)
{
    return static_cast<PointListItemAccessible *>(QAccessible::accessibleInterface(id));
}

QAccessibleInterface *pointListInterface(const QString &, QObject *object)
{
    auto *list = qobject_cast<PointList *>(object);
    return list ? new PointListAccessible(list) : nullptr;
}

void announce(PointList &list, QAccessible::Event type, int row)
{
    QAccessibleEvent event(&list, type);
    event.setChild(row);
    QAccessible::updateAccessibility(&event);
}

// One event for a run of rows, as item views send it, so that a press appending entries
// builds no row item.
void announceRows(PointList &list, QAccessibleTableModelChangeEvent::ModelChangeType type,
                  int first, int last)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTableModelChangeEvent event(&list, type);
    event.setFirstRow(first);
    event.setLastRow(last);
    QAccessible::updateAccessibility(&event);
}

} // namespace

AccessibleRows::~AccessibleRows()
{
    cleared();
}

QAccessibleInterface *AccessibleRows::item(PointList *list, int row)
{
    if (row < 0 || row >= list->count())
        return nullptr;
    const auto known = m_ids.find(row);
    if (known != m_ids.end()) {
        if (QAccessibleInterface *item = QAccessible::accessibleInterface(known->second))
            return item;
        m_ids.erase(known);
    }
    auto *item = new PointListItemAccessible(list, row);
    m_ids.emplace(row, QAccessible::registerAccessibleInterface(item));
    return item;
}

void AccessibleRows::inserted(int row)
{
    renumber(row, 1);
}

void AccessibleRows::removed(int row)
{
    if (const auto gone = m_ids.find(row); gone != m_ids.end()) {
        QAccessible::deleteAccessibleInterface(gone->second);
        m_ids.erase(gone);
    }
    renumber(row + 1, -1);
}

void AccessibleRows::cleared()
{
    for (const auto &[row, id] : m_ids)
        QAccessible::deleteAccessibleInterface(id);
    m_ids.clear();
}

// Moves the items of the rows from `from` on by `by` rows. Only items a reader asked for are
// here, so this is short whatever the length of the list.
void AccessibleRows::renumber(int from, int by)
{
    std::map<int, QAccessible::Id> moved;
    for (const auto &[row, id] : m_ids) {
        const int now = row >= from ? row + by : row;
        if (PointListItemAccessible *item = itemOf(id))
            item->setRow(now);
        moved.emplace(now, id);
    }
    m_ids = std::move(moved);
}

PointListAccessible::PointListAccessible(PointList *list)
    : QAccessibleWidget(list, QAccessible::List)
{
}

PointList *PointListAccessible::list() const
{
    return static_cast<PointList *>(widget());
}

int PointListAccessible::childCount() const
{
    return list()->count();
}

QAccessibleInterface *PointListAccessible::child(int index) const
{
    return list()->accessibleRows().item(list(), index);
}

int PointListAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *item = dynamic_cast<const PointListItemAccessible *>(child);
    return item && item->list() == list() && item->isValid() ? item->row() : -1;
}

QAccessibleInterface *PointListAccessible::childAt(int x, int y) const
{
    const QWidget *viewport = list()->viewport();
    const QPoint at = viewport->mapFromGlobal(QPoint(x, y));
    return viewport->rect().contains(at) ? child(list()->rowAt(at)) : nullptr;
}

QAccessibleInterface *PointListAccessible::focusChild() const
{
    return child(list()->selectedIndex());
}

void installPointListAccessibility()
{
    static const bool installed = (QAccessible::installFactory(pointListInterface), true);
    Q_UNUSED(installed);
}

void announceRowsInserted(PointList &list, int first, int last)
{
    announceRows(list, QAccessibleTableModelChangeEvent::RowsInserted, first, last);
}

void announceRowsRemoved(PointList &list, int first, int last)
{
    announceRows(list, QAccessibleTableModelChangeEvent::RowsRemoved, first, last);
}

void announceRowsReset(PointList &list)
{
    announceRows(list, QAccessibleTableModelChangeEvent::ModelReset, -1, -1);
}

void announceSelection(PointList &list, int from, int to)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.selected = true;
    changed.focused = list.hasFocus(); // the focus goes with the selection
    for (const int row : {from, to}) {
        if (row < 0)
            continue;
        QAccessibleStateChangeEvent event(&list, changed);
        event.setChild(row);
        QAccessible::updateAccessibility(&event);
    }
    if (to < 0) {
        if (from >= 0)
            announce(list, QAccessible::SelectionRemove, from);
        return;
    }
    announce(list, QAccessible::Selection, to);
    if (list.hasFocus())
        announce(list, QAccessible::Focus, to);
}

void announceFocus(PointList &list)
{
    if (QAccessible::isActive() && list.selectedIndex() >= 0)
        announce(list, QAccessible::Focus, list.selectedIndex());
}
