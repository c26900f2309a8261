#pragma once

#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

class AccessibleRows;
class PointListAccessible;

// A point list of the window: shows entries that it does not keep, one row each, and at most
// one selected. Whoever keeps the entries changes them and then tells the list what changed.
// All rows have the same height, so a press that appends an entry costs the same on a list
// of ten entries as on one of a hundred thousand: nothing is laid out again, only the new
// rows are painted when they are in view. A screen reader reads it through
// PointListAccessible, which builds nothing until a reader asks.
class PointList final : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit PointList(QWidget *parent = nullptr);
    ~PointList() override;

    // Shows `entries` from now on, afresh; they must outlive the list or be replaced first.
    void setEntries(const QStringList &entries);
    const QStringList &entries() const { return *m_entries; }
    // The entries from `first` on were appended. A list showing its last row keeps showing it.
    void rowsAppended(int first);
    // One entry came in at `index`, or went from there.
    void rowInserted(int index);
    void rowRemoved(int index);
    // The entries changed all at once: nothing stays selected.
    void rowsReset();
    // Selects the entry as a click would; -1 leaves nothing selected.
    void selectRow(int row);
    // The row at a point of the viewport, -1 where there is none.
    int rowAt(QPoint viewportPosition) const;
    // Where a row is drawn in the viewport (it may be out of view).
    QRect rowRect(int row) const;
    int topRow() const;

    int count() const { return int(m_entries->size()); }
    QString entry(int index) const { return m_entries->at(index); }
    bool isSelected(int index) const { return index == m_selected; }
    int selectedIndex() const { return m_selected; }

signals:
    void selectedEntryChanged();
    void doubleClicked(int row);
    // Delete on the focused list: the selected entry should go.
    void removeRequested();
    // Insert or Enter on the focused list: a typed entry should go in, as on a double click.
    void insertRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override { event->accept(); }
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class PointListAccessible;

    void setSelected(int row);
    void dropSelection();
    AccessibleRows &accessibleRows();
    void scrollToRow(int row);
    int rowsInView() const;
    bool lastRowInView() const { return topRow() + rowsInView() >= count(); }
    int textWidth(const QString &text) const;
    void addWidth(int width);
    void removeWidth(int width);
    void measureAll();
    int widest() const;
    void updateScrollBars();
    void updateRow(int row);
    void updateFocusFrame();
    int markedRow() const;

    const QStringList *m_entries;
    // The text width of each row, so that a removal is known without its text.
    std::vector<int> m_rowWidths;
    int m_selected = -1;
    // Where Up and Down go on from: the selected row, or where a removed entry was (then the
    // entry that took its place); -1 when neither.
    int m_current = -1;
    int m_rowHeight = 0;
    bool m_followEnd = true; // the last row was in view: keep it there as entries arrive
    // How many entries have each text width, so that the widest is known after a removal
    // without measuring every entry again.
    std::map<int, int> m_widths;
    mutable std::vector<qreal> m_advances; // of the Latin-1 characters in the list's font
    // Made when a screen reader first asks about a row; until then no row costs anything.
    std::unique_ptr<AccessibleRows> m_accessibleRows;
};
