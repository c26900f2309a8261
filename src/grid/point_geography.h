#pragma once

#include "grid/geo_bounds.h"

// Where the pixel points of an area image and the grid points of a cell lie on the globe,
// with the same convention as a georeferenced cut: pixel p sits at west + p × areaWidth / 255,
// grid point g at cellWest + (g − 4080) × cellWidth / 8160, latitudes likewise from the north
// edge. Pixels 0 and 255 lie on the area's edges, grid points 4080 and 12240 on the cell's.

// A position in pixel units of the area image, not rounded; it may lie beyond 0..255.
struct ImagePosition
{
    double x, y;
};

// A position in grid units of the cell, not rounded; it may lie beyond 4080..12239.
struct GridPosition
{
    double x, y;
};

GeoPoint pixelGeoPoint(const GridPlace &place, ImagePosition pixel);
GeoPoint gridGeoPoint(int cellColumn, int cellRow, GridPosition grid);

// The inverses. A longitude is taken the short way round from the area or cell, so that a
// place just across the antimeridian lands just beside it, not a globe's width away.
ImagePosition imagePositionOf(const GridPlace &place, GeoPoint point);
GridPosition gridPositionOf(int cellColumn, int cellRow, GeoPoint point);
