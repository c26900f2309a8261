#pragma once

#include "grid/geo_bounds.h"
#include "grid/point_geography.h"

#include <vector>

// A line in degrees, cut where it crosses from one LOD 8 cell into the next. Both parts keep
// the crossing point, on the cell's edge, so that neighbouring cells meet.
struct CellLine
{
    int cellColumn, cellRow;
    std::vector<GeoPoint> points;
};
std::vector<CellLine> cutAtCells(const std::vector<GeoPoint> &line);

// The pixel positions a part of a line is pressed at, relative to the area its first point
// lies in (within its cell): whole pixels, consecutive repeats dropped.
struct LinePresses
{
    GridPlace start;
    std::vector<ImagePosition> pixels;
};
LinePresses linePresses(int cellColumn, int cellRow, const std::vector<GeoPoint> &points);

// The presses of a part in pieces of at most `limit` points, each piece starting where the
// last one ended and placed in the area of its own first point.
std::vector<LinePresses> linePieces(int cellColumn, int cellRow,
                                    const std::vector<GeoPoint> &points, int limit);
