#pragma once

// Vector files for the tests, written through OGR as a GIS would write them.

#include "imagery/gdal_setup.h"

#include <QString>

#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <vector>

struct TestLayer
{
    OGRwkbGeometryType type;
    std::vector<const char *> wkts;
    std::vector<const char *> names = {};
    int epsg = 4326; // 0: no coordinate system
    // One more feature, a line through these x, y, for what WKT cannot say (NaN, infinity).
    std::vector<std::pair<double, double>> line = {};
};

inline bool writeVectorFile(const QString &path, const char *driverName,
                            const std::vector<TestLayer> &layers)
{
    setUpGdal();
    GDALDriver *driver = GetGDALDriverManager()->GetDriverByName(driverName);
    GDALDatasetUniquePtr ds(
        driver ? driver->Create(path.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr)
               : nullptr);
    if (!ds)
        return false;
    int n = 0;
    for (const TestLayer &l : layers) {
        OGRSpatialReference srs;
        srs.importFromEPSG(l.epsg);
        srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        const QByteArray name = "layer" + QByteArray::number(++n);
        OGRLayer *layer = ds->CreateLayer(name.constData(), l.epsg ? &srs : nullptr, l.type);
        if (!layer)
            return false;
        OGRFieldDefn nameField("name", OFTString);
        if (layer->GetLayerDefn()->GetFieldIndex("name") < 0)
            layer->CreateField(&nameField);
        for (std::size_t i = 0; i < l.wkts.size(); ++i) {
            OGRGeometry *g = nullptr;
            if (OGRGeometryFactory::createFromWkt(l.wkts[i], nullptr, &g) != OGRERR_NONE)
                return false;
            OGRFeatureUniquePtr f(OGRFeature::CreateFeature(layer->GetLayerDefn()));
            if (i < l.names.size())
                f->SetField("name", l.names[i]);
            f->SetGeometryDirectly(g);
            if (layer->CreateFeature(f.get()) != OGRERR_NONE)
                return false;
        }
        if (!l.line.empty()) {
            auto *g = new OGRLineString;
            for (auto [x, y] : l.line)
                g->addPoint(x, y);
            OGRFeatureUniquePtr f(OGRFeature::CreateFeature(layer->GetLayerDefn()));
            f->SetGeometryDirectly(g);
            if (layer->CreateFeature(f.get()) != OGRERR_NONE)
                return false;
        }
    }
    return true;
}
