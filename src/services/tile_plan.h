#pragma once

#include "grid/geo_bounds.h"
#include "services/imagery_service.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <array>

// One picture to ask a service for, and where it goes in the mosaic, in whole tiles of 256
// pixels from its top-left corner.
struct TileRequest
{
    QUrl url;
    int column = 0, row = 0;
};

// Everything one area needs from a service: the pictures, and the mosaic they make, with its
// geotransform in its own coordinate system (EPSG:3857 for tiles, EPSG:4326 for a GetMap).
struct AreaRequests
{
    QList<TileRequest> tiles; // empty when the service has nothing for the area
    QString failure;          // one sentence, when `tiles` is empty
    int zoom = 0;             // tiles only
    int columns = 0, rows = 0;
    std::array<double, 6> geotransform{};
    int epsg = 0;
};

// Only the tiles under the cut's pixels, at the lowest zoom whose ground resolution is at
// least as fine as the cut's, but no deeper than the service goes; or one GetMap of the cut.
AreaRequests planRequests(const ImageryService &service, const GridPlace &place);

// The lowest zoom whose tile pixels are no larger on the ground than the cut's, by the same
// geometric mean of a pixel's two sides; capped at `maxZoom`.
int zoomFor(const GridPlace &place, int maxZoom);

// The template with its placeholders filled for one tile.
QString tileAddress(const ImageryService &service, int zoom, int x, int y);
QString quadkey(int zoom, int x, int y);
