#include "canvas/overlay.h"

#include "grid/grid_constants.h"

#include <array>

namespace {
// The N whole numbers after `prefix`, separated by ", ". Read in place: an export reads every
// entry of both lists.
template <std::size_t N>
std::optional<std::array<int, N>> fields(QStringView entry, QStringView prefix)
{
    if (!entry.startsWith(prefix))
        return std::nullopt;
    std::array<int, N> values{};
    QStringView rest = entry.sliced(prefix.size());
    for (std::size_t i = 0; i < N; ++i) {
        const qsizetype comma = rest.indexOf(u',');
        if ((comma < 0) != (i + 1 == N))
            return std::nullopt;
        bool ok = false;
        values[i] = (comma < 0 ? rest : rest.first(comma)).trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
        rest = rest.sliced(comma + 1);
    }
    return values;
}

template <typename PointOf>
Shape shapeOf(const QStringList &entries, int selected, qsizetype from, PointOf pointOf)
{
    Shape shape;
    shape.points.reserve(entries.size() - from);
    for (qsizetype i = from; i < entries.size(); ++i) {
        if (const std::optional<QPointF> p = pointOf(entries[i])) {
            if (i == selected)
                shape.mark = int(shape.points.size());
            shape.points << *p;
        }
    }
    return shape;
}
} // namespace

std::optional<QPointF> lwmEntryPixel(QStringView entry)
{
    const auto v = fields<2>(entry, u"LWMPoint ");
    if (!v)
        return std::nullopt;
    return QPointF((*v)[0], (*v)[1]);
}

std::optional<QPointF> vtpEntryGridPoint(QStringView entry)
{
    const auto v = fields<4>(entry, u"VTPWidePoint ");
    if (!v)
        return std::nullopt;
    return QPointF((*v)[0], (*v)[2]);
}

std::optional<QPointF> vtpEntryPixel(QStringView entry, const std::optional<GridPlace> &place)
{
    const std::optional<QPointF> grid = vtpEntryGridPoint(entry);
    if (!grid)
        return std::nullopt;
    const QPointF area = place ? QPointF(place->areaColumn, place->areaRow) : QPointF();
    return *grid - QPointF(lod::gridOrigin, lod::gridOrigin) - lod::areaPitch * area;
}

Shape lwmShape(const QStringList &entries, int selected, qsizetype from)
{
    return shapeOf(entries, selected, from, lwmEntryPixel);
}

Shape vtpShape(const QStringList &entries, const std::optional<GridPlace> &place, int selected,
               qsizetype from)
{
    return shapeOf(entries, selected, from,
                   [&place](QStringView entry) { return vtpEntryPixel(entry, place); });
}

std::vector<FilledShape> filledShapes(const std::vector<LwmPolygon> &polygons)
{
    std::vector<FilledShape> filled;
    filled.reserve(polygons.size());
    for (const LwmPolygon &polygon : polygons)
        filled.push_back({lwmShape(polygon.entries).points, polygon.fill == LwmFill::Land});
    return filled;
}

Overlay writtenAreaOverlay(const std::vector<LwmPolygon> &polygons,
                           const std::vector<QStringList> &cellLines, const GridPlace &place)
{
    Overlay overlay;
    overlay.filled = filledShapes(polygons);
    // A cell holds hundreds of roads; the panel gets those whose box meets the area's.
    for (const QStringList &line : cellLines) {
        QPolygonF points = vtpShape(line, place).points;
        const QRectF box = points.boundingRect();
        if (points.size() > 1 && box.right() >= 0 && box.left() <= lod::areaPitch
            && box.bottom() >= 0 && box.top() <= lod::areaPitch)
            overlay.lines.push_back(std::move(points));
    }
    return overlay;
}
