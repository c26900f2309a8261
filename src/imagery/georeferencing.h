#pragma once

#include "imagery/area_cut.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

// A raster opened for reading, with where it lies on the globe: the dataset, and the
// coordinate system its geotransform is in (from the file, a .prj, or assumed).
struct GeoRaster
{
    ImageProbe::Kind kind = ImageProbe::Plain;
    QString reason; // as in ImageProbe
    GDALDatasetUniquePtr dataset;
    OGRSpatialReference crs; // axes in the geotransform's x/y order
    CrsOrigin crsOrigin = CrsOrigin::File;
};

// Opens the file and decides whether it is georeferenced, plain or refused. All or nothing:
// a georeferenced raster has a usable geotransform, a coordinate system that converts to
// latitude and longitude, and 8-bit bands.
GeoRaster openGeoRaster(const QString &path);

// The same file again, as the overview of the given level (0 is the first reduction).
GDALDatasetUniquePtr openOverview(const QString &path, int level);

// "WGS 84 / UTM zone 10N (EPSG:32610)".
QString crsDisplayName(const OGRSpatialReference &crs);

// The file's name without its folder, as messages name it.
QString fileName(const QString &path);

// "“x.tif” is damaged: …", for a file whose picture cannot be read in full.
QString damagedText(const QString &path);

// A message on one line that ends with a full stop; GDAL's own end in neither.
QString fullSentence(QString text);
