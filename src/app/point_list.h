#pragma once

#include "entry_list.h"

#include <QListView>
#include <QStringList>

class EntryModel;

// A point list of the window: a list view over its own plain list of texts. An entry costs
// its text and little more, so a hundred thousand of them stay cheap, and the writers read
// the texts without copying them.
class PointList final : public QListView, public EntryList
{
    Q_OBJECT

public:
    explicit PointList(QWidget *parent = nullptr);

    const QStringList &entries() const;
    // Appends the entries of one press, the new rows announced at once.
    void append(const QStringList &entries);
    // Selects the entry as a click would; -1 leaves nothing selected.
    void selectRow(int row);

    int count() const override;
    QString entry(int index) const override;
    bool isSelected(int index) const override;
    int selectedIndex() const override;
    void removeAt(int index) override;
    void insertAt(int index, const QString &text) override;
    void clear() override;

signals:
    void selectedEntryChanged();

private:
    EntryModel *m_model;
};
