#pragma once

#include "grid/geo_bounds.h"

#include <QRectF>
#include <QString>

#include <array>

// Small rasters written with GDAL for the tests, coloured so that a pixel's colour tells
// where it lies: red rises four units per cut pixel from 32 at the area's west edge, green
// falls to 32 at its east edge (rows: north and south). Both ramps are linear, so bilinear
// resampling keeps them, and they are clamped to 0..255 away from their edge.
struct RampRaster
{
    const char *driver = "GTiff";
    int epsg = 4326; // the coordinate system of the raster's grid
    enum Georef { Embedded, WorldFile, WorldFileAndPrj, AuxXml } georef = Embedded;
    double fineness = 2; // raster pixels per cut pixel
    double rotation = 0; // degrees
    // What the raster covers, in cut pixels of the area (0..255 are the area's pixels).
    QRectF extent{-8, -8, 271, 271};
    bool rows = false;                        // ramp down the rows instead of across the columns
    int overviews = 0;                        // levels, each half the one before
    const char *worldFileExtension = nullptr; // default: GDAL's short form (".pgw")
};

// Writes the raster (and its world file, .prj or .aux.xml) for the area; returns the path.
QString writeRampRaster(const QString &path, const GridPlace &place, const RampRaster &raster);

// The ramp value of a cut pixel position: 4 (t + 8) from the near edge, clamped.
int rampFromNear(double t);
int rampFromFar(double t);

void writeText(const QString &path, const QByteArray &text);
// The six lines of a world file for a GDAL geotransform (corner-based, as GDAL keeps it).
QByteArray worldFileText(const std::array<double, 6> &gt);
