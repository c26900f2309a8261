#include "widgets/point_list.h"

#include "widgets/point_list_accessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Room left and right of a row's text, as the style gives it to item views.
int textMargin(const QWidget *w)
{
    return w->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, w) + 1;
}

int itemRowHeight(const QWidget *w)
{
    QStyleOptionViewItem option;
    option.initFrom(w);
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("Xg");
    option.font = w->font();
    return std::max(
        1, w->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), w).height());
}

} // namespace

namespace {
const QStringList noEntries;
} // namespace

PointList::PointList(QWidget *parent) : QAbstractScrollArea(parent), m_entries(&noEntries)
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setSingleStep(1);
    // The rows and the background below them are all drawn here, so nothing behind the list
    // needs painting when it scrolls or grows.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_rowHeight = itemRowHeight(this);
    installPointListAccessibility();
}

PointList::~PointList() = default;

void PointList::setEntries(const QStringList &entries)
{
    m_entries = &entries;
    rowsReset();
}

void PointList::rowsAppended(int first)
{
    if (first >= count())
        return;
    // Judged on the rows before these: the new ones are not in view yet.
    const bool followEnd = m_followEnd || topRow() + rowsInView() >= first;
    for (int row = first; row < count(); ++row) {
        m_rowWidths.push_back(textWidth(entry(row)));
        addWidth(m_rowWidths.back());
    }
    updateScrollBars();
    if (followEnd)
        scrollToRow(count() - 1);
    for (int row = first; row < count(); ++row)
        updateRow(row);
    // Rows added at the end move no item a reader holds: there is only the news to send.
    announceRowsInserted(*this, first, count() - 1);
}

void PointList::selectRow(int row)
{
    setSelected(row >= 0 && row < count() ? row : -1);
    if (m_selected >= 0)
        scrollToRow(m_selected);
}

int PointList::topRow() const
{
    return verticalScrollBar()->value();
}

int PointList::rowAt(QPoint viewportPosition) const
{
    if (viewportPosition.y() < 0)
        return -1;
    const qint64 row = topRow() + qint64(viewportPosition.y()) / m_rowHeight;
    return row < count() ? int(row) : -1;
}

QRect PointList::rowRect(int row) const
{
    const int width = std::max(viewport()->width(), widest() + 2 * textMargin(this));
    return QRect(-horizontalScrollBar()->value(), (row - topRow()) * m_rowHeight, width,
                 m_rowHeight);
}

void PointList::rowRemoved(int index)
{
    removeWidth(m_rowWidths.at(std::size_t(index)));
    m_rowWidths.erase(m_rowWidths.begin() + index);
    if (index == m_selected) {
        dropSelection();
        m_current = index; // the keys go on from here
    } else {
        // The same entries, one row higher.
        if (index < m_selected)
            --m_selected;
        if (index < m_current)
            --m_current;
    }
    if (m_accessibleRows)
        m_accessibleRows->removed(index);
    updateScrollBars();
    viewport()->update();
    announceRowsRemoved(*this, index, index);
}

void PointList::rowInserted(int index)
{
    m_rowWidths.insert(m_rowWidths.begin() + index, textWidth(entry(index)));
    addWidth(m_rowWidths[std::size_t(index)]);
    if (m_selected >= index)
        ++m_selected;
    if (m_current >= index)
        ++m_current;
    if (m_accessibleRows)
        m_accessibleRows->inserted(index);
    updateScrollBars();
    viewport()->update();
    announceRowsInserted(*this, index, index);
}

void PointList::rowsReset()
{
    measureAll();
    m_current = -1;
    if (m_selected >= 0)
        dropSelection();
    if (m_accessibleRows)
        m_accessibleRows->cleared();
    updateScrollBars();
    // Opened or taken back whole, the list shows its end, as after the presses that made it.
    scrollToRow(count() - 1);
    m_followEnd = true;
    viewport()->update();
    announceRowsReset(*this);
}

void PointList::setSelected(int row)
{
    updateRow(markedRow());
    m_current = row;
    if (row == m_selected)
        return;
    const int from = std::exchange(m_selected, row);
    updateRow(from);
    updateRow(row);
    announceSelection(*this, from, row);
    emit selectedEntryChanged();
}

// The selected entry left the list: its row is gone, so there is nothing to repaint or to
// tell a reader about it.
void PointList::dropSelection()
{
    m_selected = -1;
    emit selectedEntryChanged();
}

AccessibleRows &PointList::accessibleRows()
{
    if (!m_accessibleRows)
        m_accessibleRows = std::make_unique<AccessibleRows>();
    return *m_accessibleRows;
}

void PointList::scrollToRow(int row)
{
    QScrollBar *bar = verticalScrollBar();
    if (row < bar->value())
        bar->setValue(row);
    else if (row >= bar->value() + rowsInView())
        bar->setValue(row - rowsInView() + 1);
}

// Rows wholly in view; at least one, so that scrolling to a row always shows it.
int PointList::rowsInView() const
{
    return std::max(1, viewport()->height() / m_rowHeight);
}

// The characters' advances summed and rounded up: shaping every text costs microseconds an
// entry, too much for a list of a hundred thousand filled at once. Kerning only narrows a
// text, so the sum never cuts the widest entry short. Texts beyond Latin-1 are measured whole.
int PointList::textWidth(const QString &text) const
{
    if (m_advances.empty()) {
        const QFontMetricsF metrics(font());
        m_advances.resize(256);
        for (int c = 0; c < 256; ++c)
            m_advances[c] = metrics.horizontalAdvance(QChar(c));
    }
    qreal width = 0;
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return fontMetrics().horizontalAdvance(text);
        width += m_advances[c.unicode()];
    }
    return int(std::ceil(width));
}

void PointList::addWidth(int width)
{
    ++m_widths[width];
}

void PointList::removeWidth(int width)
{
    const auto found = m_widths.find(width);
    if (found != m_widths.end() && --found->second == 0)
        m_widths.erase(found);
}

void PointList::measureAll()
{
    m_widths.clear();
    m_rowWidths.clear();
    m_rowWidths.reserve(std::size_t(count()));
    for (const QString &text : *m_entries) {
        m_rowWidths.push_back(textWidth(text));
        addWidth(m_rowWidths.back());
    }
}

int PointList::widest() const
{
    return m_widths.empty() ? 0 : m_widths.rbegin()->first;
}

void PointList::updateScrollBars()
{
    QScrollBar *v = verticalScrollBar();
    v->setRange(0, std::max(0, count() - rowsInView()));
    v->setPageStep(rowsInView());
    QScrollBar *h = horizontalScrollBar();
    const int contentWidth = widest() + 2 * textMargin(this);
    h->setRange(0, std::max(0, contentWidth - viewport()->width()));
    h->setPageStep(viewport()->width());
    h->setSingleStep(std::max(1, fontMetrics().averageCharWidth() * 2));
}

void PointList::updateRow(int row)
{
    if (row < 0 || row < topRow() || row > topRow() + rowsInView())
        return;
    viewport()->update(rowRect(row));
}

// The row that shows the keyboard position while the list has focus.
int PointList::markedRow() const
{
    return m_current < 0 ? -1 : std::min(m_current, count() - 1);
}

void PointList::updateFocusFrame()
{
    update(QRegion(rect()).subtracted(viewport()->geometry()));
}

bool PointList::event(QEvent *event)
{
    // The list's moving keys stay the list's while it has the focus, also where the window
    // gives one of them to a menu action (Page Down steps through written areas).
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::NoModifier
            && (key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown
                || key->key() == Qt::Key_Home || key->key() == Qt::Key_End)) {
            event->accept();
            return true;
        }
    }
    const bool handled = QAbstractScrollArea::event(event);
    // The style draws no focus on a scroll area's frame; a focused list draws it over the
    // frame, in the colour a focused field shows.
    if (event->type() == QEvent::Paint && hasFocus()) {
        QPainter p(this);
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
    return handled;
}

void PointList::paintEvent(QPaintEvent *event)
{
    QPainter p(viewport());
    p.fillRect(event->rect(), viewport()->palette().brush(viewport()->backgroundRole()));
    QStyleOptionViewItem option;
    option.initFrom(this);
    option.features = QStyleOptionViewItem::HasDisplay;
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.textElideMode = Qt::ElideNone;
    option.font = font();
    option.viewItemPosition = QStyleOptionViewItem::OnlyOne;
    option.showDecorationSelected =
        style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, nullptr, this);
    const QStyle::State base = option.state & ~QStyle::State_HasFocus;
    const int first = topRow() + event->rect().top() / m_rowHeight;
    const int last = std::min(count() - 1, topRow() + event->rect().bottom() / m_rowHeight);
    const int marked = hasFocus() ? markedRow() : -1;
    for (int row = first; row <= last; ++row) {
        option.rect = rowRect(row);
        option.text = entry(row);
        option.state = base;
        if (row == m_selected)
            option.state |= QStyle::State_Selected;
        // Marked whether the focus came by key or by mouse: the keys act on this row.
        if (row == marked)
            option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
        style()->drawControl(QStyle::CE_ItemViewItem, &option, &p, this);
    }
}

void PointList::mousePressEvent(QMouseEvent *event)
{
    // Either button selects, so that the list menu acts on the entry under the cursor.
    const int row = rowAt(event->position().toPoint());
    if (row >= 0 && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton))
        setSelected(row);
    event->accept();
}

void PointList::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton) {
        const int row = rowAt(event->position().toPoint());
        if (row >= 0) {
            setSelected(row);
            scrollToRow(row);
        }
    }
    event->accept();
}

void PointList::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int row = rowAt(event->position().toPoint());
    if (row >= 0 && event->button() == Qt::LeftButton) {
        setSelected(row);
        emit doubleClicked(row);
    }
    event->accept();
}

void PointList::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Delete:
        emit removeRequested();
        return;
    case Qt::Key_Insert:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit insertRequested();
        return;
    default:
        break;
    }
    if (count() == 0 || event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    // After a removal nothing is selected, and the entry that took the removed one's place
    // is next going down.
    const bool afterRemoval = m_selected < 0 && m_current >= 0;
    const int current = m_current, last = count() - 1;
    int row;
    switch (event->key()) {
    case Qt::Key_Up:
        row = current < 0 ? last : current - 1;
        break;
    case Qt::Key_Down:
        row = afterRemoval ? current : current + 1;
        break;
    case Qt::Key_PageUp:
        row = (current < 0 ? topRow() : current) - rowsInView();
        break;
    case Qt::Key_PageDown:
        row = (current < 0 ? topRow() : current) + rowsInView();
        break;
    case Qt::Key_Home:
        row = 0;
        break;
    case Qt::Key_End:
        row = last;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    selectRow(std::clamp(row, 0, last));
}

void PointList::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const bool followEnd = m_followEnd; // a scroll bar that appears must not end it
    updateScrollBars();
    if (followEnd && count() > 0)
        scrollToRow(count() - 1);
}

void PointList::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        m_rowHeight = itemRowHeight(this);
        m_advances.clear();
        measureAll();
        updateScrollBars();
        viewport()->update();
    }
    QAbstractScrollArea::changeEvent(event);
}

void PointList::focusInEvent(QFocusEvent *event)
{
    updateRow(markedRow());
    updateFocusFrame();
    QAbstractScrollArea::focusInEvent(event);
    announceFocus(*this);
}

void PointList::focusOutEvent(QFocusEvent *event)
{
    updateRow(markedRow());
    updateFocusFrame();
    QAbstractScrollArea::focusOutEvent(event);
}

void PointList::scrollContentsBy(int dx, int dy)
{
    m_followEnd = lastRowInView();
    // Move what is drawn and paint only the rows that come into view.
    viewport()->scroll(dx, dy * m_rowHeight);
}
