#pragma once

#include "grid/geo_bounds.h"
#include "grid/grid_constants.h"
#include "grid/point_geography.h"
#include "writers/source_writers.h"

#include <ogr_geometry.h>

#include <functional>
#include <vector>

// A polygon in degrees (x longitude, y latitude), cut into the LOD 13 areas it covers.

// One part inside one area: a ring as whole pixels of the area image, without consecutive
// repeats and without the ring's closing point. An outer ring has the polygon's fill; a hole
// (an island in a lake) lies wholly inside the area and has the other fill, to be drawn over
// the outer parts. A hole that crossed the area's edge is part of an outer ring after the cut.
struct AreaPart
{
    GridPlace place;
    std::vector<ImagePosition> pixels;
    LwmFill fill = LwmFill::Water;
    bool hole = false;
};

// A part covers more than this, in square degrees (a millionth of a pixel): less is what a cut
// rounds away, or a polygon that has no inside.
inline constexpr double leastPartArea =
    1e-6 * (lod::areaWidth / lod::areaPitch) * (lod::areaHeight / lod::areaPitch);

struct PolygonTally
{
    qsizetype islands = 0;       // holes handed on as parts of the other fill
    qsizetype fewPixels = 0;     // parts of fewer than 3 distinct pixels, or with no inside
    qsizetype tooManyPoints = 0; // parts still above the limit after every halving
    qsizetype unclipped = 0;     // pieces GEOS could not cut
    qsizetype madeValid = 0;     // shapes that crossed themselves, made valid first
};

// The polygon is made valid first. Every area the polygon's envelope touches is visited from the
// largest block down by halving, so each vertex is cut about log2(areas) times, not once per area.
// A part above partPointLimit points is halved again, across the longer side of its envelope.
// `canceled` is asked before every cut, so that a cancel takes effect within a large polygon;
// the parts handed on until then are whole, but the polygon's are not all there.
void polygonAreaParts(const OGRGeometry &polygonal, PolygonTally &tally,
                      const std::function<void(AreaPart &&)> &part, LwmFill fill = LwmFill::Water,
                      const std::function<bool()> &canceled = {});

// The outer ring of an area's part as whole pixels: rounded as a press rounds, pulled onto
// the image where the arithmetic strays a hair beyond its edge, repeats dropped.
std::vector<ImagePosition> ringPixels(const GridPlace &place, const std::vector<GeoPoint> &ring);
std::vector<ImagePosition> ringPixels(const GridPlace &place, const OGRLinearRing &ring);

// A polygon needs 3 distinct pixels, a line 2.
bool distinctAtLeast(const std::vector<ImagePosition> &pixels, int count);
