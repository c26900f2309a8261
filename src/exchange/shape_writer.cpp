// Writing the shapes through GDAL/OGR: into memory first, then into the file in one go, so
// that a failure anywhere leaves no half-written file behind.
#include "exchange/shape_export.h"

#include "imagery/gdal_setup.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cpl_string.h>
#include <cpl_vsi.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <memory>

namespace {
struct Field
{
    const char *name;
    OGRFieldType type;
};
const Field fields[] = {
    {"name", OFTString},    {"altitude", OFTString}, {"line_type", OFTString},
    {"layer", OFTString},   {"widths", OFTString},   {"cell_x", OFTInteger},
    {"cell_y", OFTInteger}, {"area_x", OFTInteger},  {"area_y", OFTInteger},
};

bool addFields(OGRLayer &layer)
{
    for (const Field &f : fields) {
        // GPX layers bring their own "name".
        if (layer.GetLayerDefn()->GetFieldIndex(f.name) >= 0)
            continue;
        OGRFieldDefn definition(f.name, f.type);
        if (layer.CreateField(&definition) != OGRERR_NONE)
            return false;
    }
    return true;
}

std::unique_ptr<OGRLineString> lineString(const std::vector<GeoPoint> &points, bool closed)
{
    auto line = std::make_unique<OGRLineString>();
    const int n = int(points.size());
    line->setNumPoints(n + (closed ? 1 : 0), FALSE);
    for (int i = 0; i < n; ++i)
        line->setPoint(i, points[size_t(i)].longitude, points[size_t(i)].latitude);
    if (closed)
        line->setPoint(n, points.front().longitude, points.front().latitude);
    return line;
}

std::unique_ptr<OGRGeometry> polygonGeometry(const ExportShapes &s, ShapeFormat format)
{
    // GPX has no polygons: the polygon goes round as a route.
    if (format == ShapeFormat::Gpx)
        return lineString(s.polygon, true);
    auto ring = std::make_unique<OGRLinearRing>();
    ring->addSubLineString(lineString(s.polygon, true).get());
    auto polygon = std::make_unique<OGRPolygon>();
    polygon->addRingDirectly(ring.release());
    return polygon;
}

std::unique_ptr<OGRGeometry> lineGeometry(const ExportShapes &s, ShapeFormat format)
{
    // A GPX track is a list of segments.
    if (format != ShapeFormat::Gpx)
        return lineString(s.line, false);
    auto track = std::make_unique<OGRMultiLineString>();
    track->addGeometryDirectly(lineString(s.line, false).release());
    return track;
}

bool addFeature(OGRLayer &layer, std::unique_ptr<OGRGeometry> geometry, const ExportShapes &s,
                bool polygon)
{
    OGRFeatureUniquePtr feature(OGRFeature::CreateFeature(layer.GetLayerDefn()));
    const auto text = [&](const char *field, const QString &value) {
        feature->SetField(field, value.toUtf8().constData());
    };
    if (polygon) {
        text("name", QStringLiteral("LWM polygon"));
        text("altitude", s.altitude);
    } else {
        text("name", QStringLiteral("VTP line"));
        text("line_type", s.lineType);
        text("layer", s.layer);
        text("widths", s.widths.join(QStringLiteral("; ")));
    }
    feature->SetField("cell_x", s.place.cellColumn);
    feature->SetField("cell_y", s.place.cellRow);
    feature->SetField("area_x", s.place.areaColumn);
    feature->SetField("area_y", s.place.areaRow);
    feature->SetGeometryDirectly(geometry.release());
    return layer.CreateFeature(feature.get()) == OGRERR_NONE;
}

struct Driver
{
    const char *name;
    const char *options[2];
};

Driver driverFor(ShapeFormat format)
{
    switch (format) {
    case ShapeFormat::Kml:
        return {"KML", {"NameField=name", nullptr}};
    case ShapeFormat::Gpx:
        return {"GPX", {"GPX_USE_EXTENSIONS=YES", nullptr}};
    case ShapeFormat::GeoJson:
        break;
    }
    return {"GeoJSON", {nullptr, nullptr}};
}

// Both shapes into one dataset: one layer for GeoJSON and KML, a route and a track for GPX.
bool fill(GDALDataset &dataset, ShapeFormat format, const ExportShapes &s)
{
    OGRSpatialReference wgs84;
    wgs84.importFromEPSG(4326);
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    const bool gpx = format == ShapeFormat::Gpx;
    OGRLayer *shared = nullptr;
    if (!gpx) {
        // Twelve decimals of a degree place a vertex to well under a millionth of a pixel, and
        // fixed decimals write a quarter faster than significant figures do.
        const char *geoJson[] = {"COORDINATE_PRECISION=12", nullptr};
        char **options = format == ShapeFormat::GeoJson ? const_cast<char **>(geoJson) : nullptr;
        shared = dataset.CreateLayer("Marlith shapes", &wgs84, wkbUnknown, options);
        if (!shared || !addFields(*shared))
            return false;
    }
    const auto add = [&](bool polygon) {
        OGRLayer *layer = shared;
        if (gpx)
            layer = polygon ? dataset.CreateLayer("routes", &wgs84, wkbLineString)
                            : dataset.CreateLayer("tracks", &wgs84, wkbMultiLineString);
        return layer && (!gpx || addFields(*layer))
               && addFeature(*layer, polygon ? polygonGeometry(s, format) : lineGeometry(s, format),
                             s, polygon);
    };
    return (!s.hasPolygon() || add(true)) && (!s.hasLine() || add(false));
}

QString notWritten(const QString &path, const QString &reason)
{
    return QStringLiteral("\u201c%1\u201d was not written: %2.")
        .arg(QFileInfo(path).fileName(), reason.isEmpty() ? QStringLiteral("GDAL failed") : reason);
}
} // namespace

QString writeShapes(const ExportTarget &target, const ExportShapes &shapes)
{
    setUpGdal();
    static int serial = 0;
    const QByteArray memory = QByteArray("/vsimem/marlith-export-") + QByteArray::number(++serial);
    const Driver d = driverFor(target.format);
    GDALDriver *driver = GetGDALDriverManager()->GetDriverByName(d.name);
    if (!driver)
        return notWritten(target.path, QStringLiteral("GDAL has no %1 driver").arg(d.name));

    CPLErrorReset();
    GDALDatasetUniquePtr dataset(
        driver->Create(memory.constData(), 0, 0, 0, GDT_Unknown, const_cast<char **>(d.options)));
    // Only the calls' own results count: GDAL also reports failures it recovers from, such as
    // a GPX property that merely looks like XML.
    const bool filled = dataset && fill(*dataset, target.format, shapes);
    dataset.reset(); // closing writes the rest
    const QString gdalReason = lastGdalError();

    vsi_l_offset length = 0;
    const GByte *bytes = filled ? VSIGetMemFileBuffer(memory.constData(), &length, FALSE) : nullptr;
    QString failure;
    if (!bytes) {
        failure = notWritten(target.path, gdalReason);
    } else {
        QSaveFile file(target.path);
        if (!file.open(QIODevice::WriteOnly)
            || file.write(reinterpret_cast<const char *>(bytes), qint64(length)) != qint64(length)
            || !file.commit())
            failure = notWritten(target.path, file.errorString());
    }
    VSIUnlink(memory.constData());
    return failure;
}
