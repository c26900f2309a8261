#pragma once

#include "tile_server.h"

#include <QImage>
#include <QString>

#include <array>

// A made-up aerial picture over a block of Web-Mercator tiles: served tile by tile as PNG by
// the test server, and written whole as a GeoTIFF to cut the same ground from a file.
struct MercatorTiles
{
    MercatorTiles(int zoom, int firstX, int firstY, int columns, int rows);

    int zoom, firstX, firstY, columns, rows;
    QImage image;

    std::array<double, 6> geotransform() const;
    void writeGeoTiff(const QString &path) const;
    // "/z/x/y.png": the tile as PNG, or 404 outside the block.
    ServedAnswer answer(const QString &path) const;
};
