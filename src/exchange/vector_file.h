#pragma once

// The opening rules of import, for the other readers of vector files: local files only,
// read only, a clear sentence when a file cannot be read.

#include <QString>

#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <memory>

struct OpenedVector
{
    GDALDatasetUniquePtr dataset;
    QString failure;
};
OpenedVector openVectorFile(const QString &path);

// Turns a layer's coordinates into longitude (x) and latitude (y); none is needed for a layer
// without a coordinate system, which is taken to be in degrees already.
struct LayerToDegrees
{
    std::unique_ptr<OGRCoordinateTransformation> transform;
    QString failure;
};
LayerToDegrees layerToDegrees(OGRLayer &layer, const QString &path);

// The name the picker shows: the "name" field, or the layer's name and the feature's place.
QString featureName(OGRFeature &feature, OGRLayer &layer, qint64 place);

// Arcs and other curves as lines, as GDAL draws them.
std::unique_ptr<OGRGeometry> linearGeometry(const OGRGeometry *geometry);
