#include "exchange/vertex_presses.h"

#include "grid/grid_constants.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {
// A vertex further out is pressed from here: a click there gives the same entries (pixel at
// the image's edge, grid point at the cell's), and no value of the press leaves 16 bits.
constexpr double farthestPixel = lod::areaPitch * lod::areasPerCell + lod::pixelUnits;

bool onGlobe(const GeoPoint &p)
{
    return std::isfinite(p.latitude) && std::isfinite(p.longitude) && std::abs(p.latitude) <= 90
           && std::abs(p.longitude) <= 360;
}

// Where a click's rounding puts the position, pixel and grid point alike.
bool beyond(double pixel, int low, int high)
{
    const double rounded = std::nearbyint(pixel);
    return rounded < low || rounded > high;
}
} // namespace

VertexPresses vertexPresses(const GridPlace &place, const std::vector<GeoPoint> &vertices)
{
    VertexPresses presses;
    presses.positions.reserve(vertices.size());
    const int firstX = -lod::areaPitch * place.areaColumn;
    const int firstY = -lod::areaPitch * place.areaRow;
    const int cellSpan = lod::lastGridPoint - lod::gridOrigin;
    for (const GeoPoint &vertex : vertices) {
        if (!onGlobe(vertex)) {
            ++presses.skipped;
            continue;
        }
        ImagePosition p = imagePositionOf(place, vertex);
        p.x = std::clamp(p.x, -farthestPixel, farthestPixel);
        p.y = std::clamp(p.y, -farthestPixel, farthestPixel);
        if (beyond(p.x, 0, lod::lastPixel) || beyond(p.y, 0, lod::lastPixel))
            ++presses.outsideArea;
        if (beyond(p.x, firstX, firstX + cellSpan) || beyond(p.y, firstY, firstY + cellSpan))
            ++presses.outsideCell;
        presses.positions.push_back(p);
    }
    return presses;
}

QString importRefusal(const ShapeCandidate &candidate, const VertexPresses &presses)
{
    if (!presses.positions.empty())
        return {};
    return QStringLiteral("None of the %1 vertices of \u201c%2\u201d is a place on the globe: the "
                          "file names no coordinate system GDAL knows, and its coordinates are "
                          "not degrees.")
        .arg(presses.skipped)
        .arg(candidate.name);
}

StatusText importSummary(const QString &path, const ShapeCandidate &candidate,
                         const ShapeVertices &shape, const VertexPresses &presses)
{
    const QString pressed =
        QStringLiteral("Pressed %1 vertices of \u201c%2\u201d (%3) from %4")
            .arg(presses.positions.size())
            .arg(candidate.name, kindText(candidate.kind), QFileInfo(path).fileName());
    QStringList odd;
    if (presses.outsideArea == 1)
        odd << QStringLiteral("1 vertex outside the area")
                   + (presses.outsideCell > 0 ? QStringLiteral(", and outside the cell")
                                              : QString());
    else if (presses.outsideArea > 1)
        odd << QStringLiteral("%1 vertices outside the area, %2 of them outside the cell")
                   .arg(presses.outsideArea)
                   .arg(presses.outsideCell);
    if (presses.skipped > 0)
        odd << QStringLiteral("%1 skipped, not a place on the globe").arg(presses.skipped);
    if (shape.parts > 1)
        odd << QStringLiteral("only the first of %1 parts").arg(shape.parts);
    if (shape.holes > 0)
        odd << QStringLiteral("%1 holes left out").arg(shape.holes);
    if (odd.isEmpty())
        return {pressed + QStringLiteral(", all inside the area.")};
    return warnedText({odd.join(QStringLiteral("; ")) + u'.'}, pressed + u'.');
}
