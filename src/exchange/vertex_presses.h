#pragma once

#include "exchange/shape_reader.h"
#include "grid/geo_bounds.h"
#include "grid/point_geography.h"
#include "text/status_text.h"

#include <QString>

#include <vector>

// How imported vertices become presses on the panel. Only the pixel position is decided
// here; the press itself runs the capture steps of a click.

// No import takes more vertices than this: far beyond a line anyone clicks, and small
// enough that the lists and the undo step stay quick.
inline constexpr qsizetype importVertexLimit = 100000;

struct VertexPresses
{
    std::vector<ImagePosition> positions;
    // Not a place on the globe (not a number, infinite or far beyond ±90 / ±360): skipped.
    qsizetype skipped = 0;
    // Pressed beyond the image, where a click's pixel stops at the image's edge, and beyond
    // the cell, where its grid point stops at the cell's edge too (counted in both).
    qsizetype outsideArea = 0, outsideCell = 0;
};

VertexPresses vertexPresses(const GridPlace &place, const std::vector<GeoPoint> &vertices);

// Why nothing of the shape is pressed, or the empty text when something is.
QString importRefusal(const ShapeCandidate &candidate, const VertexPresses &presses);
// The status line after an import: what was pressed and from where; what was odd (vertices
// outside the area, parts and holes left out) comes first, as a warning.
StatusText importSummary(const QString &path, const ShapeCandidate &candidate,
                         const ShapeVertices &shape, const VertexPresses &presses);
