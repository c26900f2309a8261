#include "grid/point_geography.h"

#include "grid/grid_constants.h"

#include <cmath>

namespace {
constexpr double cellPoints = lod::areaPitch * lod::areasPerCell; // 8160 grid steps a cell

// The longitude within half a globe of `reference`.
double nearLongitude(double longitude, double reference)
{
    return longitude - 360 * std::round((longitude - reference) / 360);
}

// Back across the antimeridian, for a position beyond the first or the last cell column.
double onGlobe(double longitude)
{
    if (longitude > 180)
        return longitude - 360;
    return longitude < -180 ? longitude + 360 : longitude;
}
} // namespace

GeoPoint pixelGeoPoint(const GridPlace &place, ImagePosition pixel)
{
    const GeoBounds area = areaBounds(place);
    return {area.north - pixel.y * lod::areaHeight / lod::areaPitch,
            onGlobe(area.west + pixel.x * lod::areaWidth / lod::areaPitch)};
}

GeoPoint gridGeoPoint(int cellColumn, int cellRow, GridPosition grid)
{
    const GeoBounds cell = cellBounds(cellColumn, cellRow);
    return {cell.north - (grid.y - lod::gridOrigin) * lod::cellHeight / cellPoints,
            onGlobe(cell.west + (grid.x - lod::gridOrigin) * lod::cellWidth / cellPoints)};
}

ImagePosition imagePositionOf(const GridPlace &place, GeoPoint point)
{
    const GeoBounds area = areaBounds(place);
    const double longitude = nearLongitude(point.longitude, (area.west + area.east) / 2);
    return {(longitude - area.west) * lod::areaPitch / lod::areaWidth,
            (area.north - point.latitude) * lod::areaPitch / lod::areaHeight};
}

GridPosition gridPositionOf(int cellColumn, int cellRow, GeoPoint point)
{
    const GeoBounds cell = cellBounds(cellColumn, cellRow);
    const double longitude = nearLongitude(point.longitude, (cell.west + cell.east) / 2);
    return {lod::gridOrigin + (longitude - cell.west) * cellPoints / lod::cellWidth,
            lod::gridOrigin + (cell.north - point.latitude) * cellPoints / lod::cellHeight};
}
