#include "point_list.h"

#include <QAbstractListModel>

// The texts of a point list, one row each.
class EntryModel final : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_entries.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_entries.size())
            return {};
        if (role == Qt::DisplayRole)
            return m_entries.at(index.row());
        return {};
    }

    const QStringList &entries() const { return m_entries; }

    void insert(int row, const QStringList &texts)
    {
        if (texts.isEmpty())
            return;
        beginInsertRows({}, row, row + int(texts.size()) - 1);
        if (row == m_entries.size())
            m_entries.append(texts);
        else
            for (qsizetype i = 0; i < texts.size(); ++i)
                m_entries.insert(row + i, texts.at(i));
        endInsertRows();
    }
    void remove(int row)
    {
        beginRemoveRows({}, row, row);
        m_entries.removeAt(row);
        endRemoveRows();
    }
    void clear()
    {
        beginResetModel();
        m_entries.clear();
        endResetModel();
    }

private:
    QStringList m_entries;
};

PointList::PointList(QWidget *parent) : QListView(parent), m_model(new EntryModel(this))
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Every entry has the same height, which keeps appending cheap on long lists.
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PointList::selectedEntryChanged);
}

const QStringList &PointList::entries() const
{
    return m_model->entries();
}

void PointList::append(const QStringList &entries)
{
    m_model->insert(count(), entries);
}

void PointList::selectRow(int row)
{
    if (row < 0 || row >= count()) {
        selectionModel()->clearSelection();
        return;
    }
    selectionModel()->setCurrentIndex(m_model->index(row), QItemSelectionModel::ClearAndSelect);
}

int PointList::count() const
{
    return int(m_model->entries().size());
}

QString PointList::entry(int index) const
{
    return m_model->entries().at(index);
}

bool PointList::isSelected(int index) const
{
    return selectionModel()->isSelected(m_model->index(index));
}

int PointList::selectedIndex() const
{
    // Not the current index: that can be set while nothing is selected.
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void PointList::removeAt(int index)
{
    m_model->remove(index);
}

void PointList::insertAt(int index, const QString &text)
{
    m_model->insert(index, {text});
}

void PointList::clear()
{
    m_model->clear();
}
