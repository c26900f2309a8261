#pragma once

#include "canvas/overlay.h"
#include "widgets/shape_layer.h"

#include <QImage>
#include <QPolygonF>
#include <QWidget>

#include <vector>

// The image panel: shows the area image at its own size from the top-left corner, draws an
// overlay of shapes over it (see canvas/overlay.h), and reports moves and presses in its inner
// area's units. Arrow keys move a crosshair pixel by pixel (Shift: 8) and Space or Enter presses
// there; the mouse takes the crosshair along, so the keys go on from where it last pointed.
class ImagePanel : public QWidget
{
    Q_OBJECT

public:
    explicit ImagePanel(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    QSizeF innerSize() const { return contentsRect().size(); }

    void setOverlay(const Overlay &overlay);
    void setPolygon(const Shape &polygon);
    void setLine(const Shape &line);
    // A press's new vertices, drawn onto what is drawn already.
    void extendPolygon(const QPolygonF &points);
    void extendLine(const QPolygonF &points);
    // Finished polygons and lines, drawn under the shapes in the making.
    void setFilled(std::vector<FilledShape> filled, std::vector<QPolygonF> lines = {});
    // What is drawn, as last handed over.
    Overlay overlay() const;
    static QColor waterColour() { return QColor(0x30, 0x90, 0xFF); }
    static QColor landColour() { return QColor(0xFF, 0xD0, 0x30); }

signals:
    void cursorMoved(QPointF position);
    // The mouse left the panel, or the keyboard focus did while the mouse was elsewhere.
    void cursorLeft();
    void pressed(QPointF position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QPointF toInner(QPointF widgetPosition) const;
    QPointF crosshairPosition() const;
    QTransform pixelTransform() const;
    void moveCrosshair(QPoint pixel);
    void moveCrosshairTo(QPointF innerPosition);

    QImage m_picture;
    std::vector<FilledShape> m_filled;
    std::vector<QPolygonF> m_lines;
    // Drawn once for each size: a mouse move repaints the panel.
    QImage m_filledImage;
    ShapeLayer m_polygon{QColor(0x00, 0xE0, 0x40)}, m_line{QColor(0xFF, 0x40, 0xFF)};
    int m_polygonMark = -1, m_lineMark = -1;
    QPoint m_crosshair{128, 128};
};
