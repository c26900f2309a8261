#include "areas/line_parts.h"

#include "areas/area_files.h"
#include "grid/grid_constants.h"

#include <algorithm>
#include <cmath>

namespace {

struct Cell
{
    int column, row;
    bool operator==(const Cell &) const = default;
};

Cell cellOf(GeoPoint p)
{
    return {int(std::clamp(std::floor((p.longitude + 180) / lod::cellWidth), 0.0,
                           double(lod::lastCellColumn))),
            int(std::clamp(std::floor((90 - p.latitude) / lod::cellHeight), 0.0,
                           double(lod::lastCellRow)))};
}

// Where a segment crosses a cell edge, as fractions of the way from a to b, with the crossing
// point put exactly on the edge it crosses.
struct Crossing
{
    double t;
    GeoPoint at;
};

void crossings(GeoPoint a, GeoPoint b, std::vector<Crossing> &out)
{
    const double dx = b.longitude - a.longitude, dy = b.latitude - a.latitude;
    if (dx != 0) {
        const double from = (std::min(a.longitude, b.longitude) + 180) / lod::cellWidth;
        const double to = (std::max(a.longitude, b.longitude) + 180) / lod::cellWidth;
        for (double c = std::floor(from) + 1; c < to; ++c) {
            const double x = -180 + lod::cellWidth * c;
            const double t = (x - a.longitude) / dx;
            out.push_back({t, {a.latitude + t * dy, x}});
        }
    }
    if (dy != 0) {
        const double from = (90 - std::max(a.latitude, b.latitude)) / lod::cellHeight;
        const double to = (90 - std::min(a.latitude, b.latitude)) / lod::cellHeight;
        for (double r = std::floor(from) + 1; r < to; ++r) {
            const double y = 90 - lod::cellHeight * r;
            const double t = (y - a.latitude) / dy;
            out.push_back({t, {y, a.longitude + t * dx}});
        }
    }
    std::sort(out.begin(), out.end(),
              [](const Crossing &l, const Crossing &r) { return l.t < r.t; });
}

GeoPoint midway(GeoPoint a, GeoPoint b)
{
    return {(a.latitude + b.latitude) / 2, (a.longitude + b.longitude) / 2};
}

} // namespace

std::vector<CellLine> cutAtCells(const std::vector<GeoPoint> &line)
{
    std::vector<CellLine> parts;
    std::vector<Crossing> cuts;
    const auto step = [&parts](GeoPoint from, GeoPoint to) {
        if (from.latitude == to.latitude && from.longitude == to.longitude)
            return;
        const Cell cell = cellOf(midway(from, to));
        if (parts.empty() || Cell{parts.back().cellColumn, parts.back().cellRow} != cell)
            parts.push_back({cell.column, cell.row, {from}});
        parts.back().points.push_back(to);
    };
    for (std::size_t i = 1; i < line.size(); ++i) {
        cuts.clear();
        crossings(line[i - 1], line[i], cuts);
        GeoPoint from = line[i - 1];
        for (const Crossing &c : cuts) {
            step(from, c.at);
            from = c.at;
        }
        step(from, line[i]);
    }
    return parts;
}

LinePresses linePresses(int cellColumn, int cellRow, const std::vector<GeoPoint> &points)
{
    LinePresses presses{{cellColumn, cellRow, 0, 0}, {}};
    if (points.empty())
        return presses;
    // A part that starts on its cell's east or south edge starts in the cell's last area.
    const GridPlace first = placeOf(points.front());
    const auto inCell = [](int cell, int thisCell, int area) {
        return cell < thisCell ? 0 : cell > thisCell ? lod::lastArea : area;
    };
    presses.start.areaColumn = inCell(first.cellColumn, cellColumn, first.areaColumn);
    presses.start.areaRow = inCell(first.cellRow, cellRow, first.areaRow);
    presses.pixels.reserve(points.size());
    for (const GeoPoint &p : points) {
        const ImagePosition at = imagePositionOf(presses.start, p);
        const ImagePosition pixel{std::nearbyint(at.x), std::nearbyint(at.y)};
        if (presses.pixels.empty() || pixel.x != presses.pixels.back().x
            || pixel.y != presses.pixels.back().y)
            presses.pixels.push_back(pixel);
    }
    return presses;
}

std::vector<LinePresses> linePieces(int cellColumn, int cellRow,
                                    const std::vector<GeoPoint> &points, int limit)
{
    std::vector<LinePresses> pieces;
    std::vector<GeoPoint> rest = points;
    for (;;) {
        LinePresses whole = linePresses(cellColumn, cellRow, rest);
        if (qsizetype(whole.pixels.size()) <= limit) {
            pieces.push_back(std::move(whole));
            return pieces;
        }
        // Cut after the point that became the limit-th pixel; the next piece starts there.
        std::size_t end = 0;
        int kept = 0;
        ImagePosition last{NAN, NAN};
        for (; end < rest.size(); ++end) {
            const ImagePosition at = imagePositionOf(whole.start, rest[end]);
            const ImagePosition pixel{std::nearbyint(at.x), std::nearbyint(at.y)};
            if (pixel.x != last.x || pixel.y != last.y) {
                if (kept == limit)
                    break;
                ++kept;
                last = pixel;
            }
        }
        const std::vector<GeoPoint> head(rest.begin(), rest.begin() + std::ptrdiff_t(end));
        pieces.push_back(linePresses(cellColumn, cellRow, head));
        rest.erase(rest.begin(), rest.begin() + std::ptrdiff_t(end) - 1);
    }
}
