#include "widgets/shape_layer.h"

#include "grid/grid_constants.h"

#include <QPainter>

#include <algorithm>

void ShapeLayer::setShape(const QPolygonF &shape)
{
    // Selecting an entry hands over the same shape again: keep what is drawn.
    if (shape == m_shape)
        return;
    // Copied into the storage the presses grew, not shared: the press after an undo, which
    // hands over the whole shape, would otherwise copy it all to append one point.
    m_shape.resize(shape.size());
    std::copy(shape.cbegin(), shape.cend(), m_shape.begin());
    m_drawn = 0;
}

const QImage &ShapeLayer::image(QSize innerSize, qreal pixelRatio)
{
    if (m_image.isNull() || innerSize != m_innerSize || m_image.devicePixelRatio() != pixelRatio) {
        m_innerSize = innerSize;
        m_image =
            QImage((QSizeF(innerSize) * pixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
        m_image.setDevicePixelRatio(pixelRatio);
        m_drawn = 0;
    }
    if (m_drawn == 0)
        m_image.fill(Qt::transparent);
    if (m_drawn < m_shape.size())
        drawFrom(m_drawn);
    m_drawn = m_shape.size();
    return m_image;
}

// The segments that end in the vertices from `first` on, then those vertices over them.
void ShapeLayer::drawFrom(qsizetype first)
{
    QPainter p(&m_image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(m_innerSize.width() / double(lod::pixelUnits),
            m_innerSize.height() / double(lod::pixelUnits));
    p.setPen(QPen(m_colour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const qsizetype from = first > 0 ? first - 1 : 0;
    p.drawPolyline(m_shape.constData() + from, int(m_shape.size() - from));
    p.setPen(Qt::NoPen);
    p.setBrush(m_colour);
    for (qsizetype i = first; i < m_shape.size(); ++i)
        p.drawEllipse(m_shape[i], 2.0, 2.0);
}
