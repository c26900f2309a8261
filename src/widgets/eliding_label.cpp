#include "widgets/eliding_label.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

QString ElidingLabel::shownText() const
{
    return fontMetrics().elidedText(text(), m_mode, contentsRect().width());
}

void ElidingLabel::setElideMode(Qt::TextElideMode mode)
{
    m_mode = mode;
    update();
}

bool ElidingLabel::isElided() const
{
    return shownText() != text();
}

QSize ElidingLabel::sizeHint() const
{
    return minimumSizeHint();
}

QSize ElidingLabel::minimumSizeHint() const
{
    const QMargins m = contentsMargins();
    return QSize(fontMetrics().horizontalAdvance(QStringLiteral("……")), fontMetrics().height())
        .grownBy(m);
}

bool ElidingLabel::event(QEvent *event)
{
    // The whole text, asked for where it was cut; a tooltip set beforehand would go stale
    // with every resize.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        if (isElided())
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void ElidingLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), int(alignment()) | Qt::TextSingleLine, shownText());
}
