#include "widgets/image_panel.h"

#include "grid/grid_constants.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr double crosshairArm = 8; // image pixels from the centre
} // namespace

ImagePanel::ImagePanel(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setContentsMargins(1, 1, 1, 1);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImagePanel::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void ImagePanel::setOverlay(const Overlay &overlay)
{
    setFilled(overlay.filled, overlay.lines);
    setPolygon(overlay.polygon);
    setLine(overlay.line);
}

void ImagePanel::setPolygon(const Shape &polygon)
{
    m_polygon.setShape(polygon.points);
    m_polygonMark = polygon.mark;
    update();
}

void ImagePanel::setLine(const Shape &line)
{
    m_line.setShape(line.points);
    m_lineMark = line.mark;
    update();
}

void ImagePanel::extendPolygon(const QPolygonF &points)
{
    if (points.isEmpty())
        return;
    m_polygon.append(points);
    update();
}

void ImagePanel::extendLine(const QPolygonF &points)
{
    if (points.isEmpty())
        return;
    m_line.append(points);
    update();
}

void ImagePanel::setFilled(std::vector<FilledShape> filled, std::vector<QPolygonF> lines)
{
    if (filled.empty() && m_filled.empty() && lines.empty() && m_lines.empty())
        return;
    m_filled = std::move(filled);
    m_lines = std::move(lines);
    m_filledImage = QImage();
    update();
}

Overlay ImagePanel::overlay() const
{
    return {{m_polygon.shape(), m_polygonMark}, {m_line.shape(), m_lineMark}, m_filled, m_lines};
}

QPointF ImagePanel::toInner(QPointF p) const
{
    return p - QPointF(contentsRect().topLeft());
}

// The centre of the crosshair's pixel, so that mapping it gives back that very pixel.
QPointF ImagePanel::crosshairPosition() const
{
    const QSizeF inner = innerSize();
    return {m_crosshair.x() * inner.width() / lod::pixelUnits,
            m_crosshair.y() * inner.height() / lod::pixelUnits};
}

// Image pixels to widget coordinates: the shapes, the highlights and the crosshair are given
// in image pixels.
QTransform ImagePanel::pixelTransform() const
{
    const QRect inner = contentsRect();
    return QTransform::fromTranslate(inner.left(), inner.top())
        .scale(inner.width() / double(lod::pixelUnits), inner.height() / double(lod::pixelUnits));
}

void ImagePanel::moveCrosshair(QPoint pixel)
{
    pixel =
        QPoint(std::clamp(pixel.x(), 0, lod::lastPixel), std::clamp(pixel.y(), 0, lod::lastPixel));
    if (pixel == m_crosshair)
        return;
    if (hasFocus()) {
        // Only where the crosshair was and where it goes: a mouse move must stay cheap.
        for (QPoint p : {m_crosshair, pixel}) {
            const QRectF arms(p.x() + 0.5 - crosshairArm, p.y() + 0.5 - crosshairArm,
                              2 * crosshairArm, 2 * crosshairArm);
            update(pixelTransform().mapRect(arms).toAlignedRect().adjusted(-2, -2, 2, 2));
        }
    }
    m_crosshair = pixel;
}

// The pixel the cursor mapping would show for this position, held inside the image.
void ImagePanel::moveCrosshairTo(QPointF inner)
{
    const QSizeF size = innerSize();
    if (size.isEmpty())
        return;
    const auto pixel = [](double at, double extent) {
        return int(
            std::clamp(std::nearbyint(at * lod::pixelUnits / extent), 0.0, double(lod::lastPixel)));
    };
    moveCrosshair({pixel(inner.x(), size.width()), pixel(inner.y(), size.height())});
}

void ImagePanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    // Focus shows in the border, in the colour a focused field shows, and by the crosshair.
    p.setPen(hasFocus() ? palette().color(QPalette::Highlight) : QColor(0x80, 0x80, 0x80));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect inner = contentsRect();
    p.setClipRect(inner);
    if (!m_picture.isNull())
        p.drawImage(inner.topLeft(), m_picture);

    const QTransform pixels = pixelTransform();
    p.setRenderHint(QPainter::Antialiasing);
    if (!m_filled.empty() || !m_lines.empty()) {
        const qreal ratio = devicePixelRatioF();
        if (m_filledImage.size() != inner.size() * ratio) {
            m_filledImage = QImage(inner.size() * ratio, QImage::Format_ARGB32_Premultiplied);
            m_filledImage.setDevicePixelRatio(ratio);
            m_filledImage.fill(Qt::transparent);
            QPainter fill(&m_filledImage);
            fill.setRenderHint(QPainter::Antialiasing);
            fill.setTransform(QTransform::fromScale(inner.width() / double(lod::pixelUnits),
                                                    inner.height() / double(lod::pixelUnits)));
            // A later polygon covers an earlier one, as the simulator draws them.
            for (const FilledShape &f : m_filled) {
                QColor colour = f.land ? landColour() : waterColour();
                fill.setPen(QPen(colour, 1.0));
                colour.setAlpha(150);
                fill.setCompositionMode(QPainter::CompositionMode_Source);
                fill.setBrush(colour);
                fill.drawPolygon(f.points);
            }
            fill.setCompositionMode(QPainter::CompositionMode_SourceOver);
            fill.setPen(QPen(m_line.colour(), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            fill.setBrush(Qt::NoBrush);
            for (const QPolygonF &line : m_lines)
                fill.drawPolyline(line);
        }
        p.drawImage(inner.topLeft(), m_filledImage);
    }
    // An empty list draws no layer: blending two clear panel-sized images costs a good part
    // of the window's first frame.
    if (!m_polygon.shape().isEmpty())
        p.drawImage(inner.topLeft(), m_polygon.image(inner.size(), devicePixelRatioF()));
    // The polygon's closing edge moves with every press, so it is not part of the layer.
    const QPolygonF &polygon = m_polygon.shape();
    if (polygon.size() > 2) {
        p.setTransform(pixels);
        p.setPen(QPen(m_polygon.colour(), 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(polygon.last(), polygon.first());
        p.resetTransform();
    }
    if (!m_line.shape().isEmpty())
        p.drawImage(inner.topLeft(), m_line.image(inner.size(), devicePixelRatioF()));
    p.setTransform(pixels);

    const auto drawMark = [&](const ShapeLayer &layer, int vertex) {
        if (vertex < 0 || vertex >= layer.shape().size())
            return;
        p.setPen(QPen(Qt::white, 1.5));
        p.setBrush(layer.colour());
        p.drawEllipse(layer.shape()[vertex], 4.0, 4.0);
    };
    drawMark(m_polygon, m_polygonMark);
    drawMark(m_line, m_lineMark);

    if (hasFocus()) {
        const QPointF c(m_crosshair.x() + 0.5, m_crosshair.y() + 0.5);
        p.setPen(QPen(Qt::red, 1));
        p.drawLine(QPointF(c.x() - crosshairArm, c.y()), QPointF(c.x() + crosshairArm, c.y()));
        p.drawLine(QPointF(c.x(), c.y() - crosshairArm), QPointF(c.x(), c.y() + crosshairArm));
    }
}

void ImagePanel::mouseMoveEvent(QMouseEvent *event)
{
    moveCrosshairTo(toInner(event->position()));
    emit cursorMoved(toInner(event->position()));
}

void ImagePanel::mousePressEvent(QMouseEvent *event)
{
    moveCrosshairTo(toInner(event->position()));
    emit pressed(toInner(event->position()));
}

void ImagePanel::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click captures like any other press.
    moveCrosshairTo(toInner(event->position()));
    emit pressed(toInner(event->position()));
}

void ImagePanel::leaveEvent(QEvent *event)
{
    emit cursorLeft();
    QWidget::leaveEvent(event);
}

void ImagePanel::keyPressEvent(QKeyEvent *event)
{
    const int step = event->modifiers() & Qt::ShiftModifier ? 8 : 1;
    QPoint move;
    switch (event->key()) {
    case Qt::Key_Left:
        move = {-step, 0};
        break;
    case Qt::Key_Right:
        move = {step, 0};
        break;
    case Qt::Key_Up:
        move = {0, -step};
        break;
    case Qt::Key_Down:
        move = {0, step};
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit pressed(crosshairPosition());
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    moveCrosshair(m_crosshair + move);
    emit cursorMoved(crosshairPosition());
}

void ImagePanel::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void ImagePanel::focusOutEvent(QFocusEvent *event)
{
    // The keys moved the readouts like a cursor; with the focus gone, so is that cursor.
    if (!underMouse())
        emit cursorLeft();
    update();
    QWidget::focusOutEvent(event);
}
