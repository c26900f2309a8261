#pragma once

#include <QColor>
#include <QImage>
#include <QPolygonF>

// One captured shape, drawn into an image of the panel's inner area. A press draws only its
// new segment and vertex into the image, so that repainting after it costs the same however
// many points came before; a shape that is replaced is drawn afresh once.
class ShapeLayer
{
public:
    explicit ShapeLayer(QColor colour) : m_colour(colour) {}

    const QPolygonF &shape() const { return m_shape; }
    QColor colour() const { return m_colour; }
    void setShape(const QPolygonF &shape);
    void append(const QPolygonF &points) { m_shape << points; }

    // The shape in image pixels scaled to `innerSize` (256 × 256 image pixels), for a device
    // with the given pixel ratio; draws what is not drawn yet.
    const QImage &image(QSize innerSize, qreal pixelRatio);

private:
    void drawFrom(qsizetype first);

    QColor m_colour;
    QPolygonF m_shape;
    QImage m_image;
    QSize m_innerSize;
    qsizetype m_drawn = 0; // vertices already in the image
};
