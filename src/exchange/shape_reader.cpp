#include "exchange/shape_reader.h"

#include "exchange/vector_file.h"
#include "exchange/vertex_presses.h"
#include "imagery/gdal_setup.h"
#include "text/typed_text.h"

#include <QDir>
#include <QFileInfo>

#include <cpl_string.h>
#include <gdal_priv.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>

namespace {
using Kind = ShapeCandidate::Kind;

// The path as the user gave it: a base name alone hides which folder was looked in.
QString quoted(const QString &path)
{
    return QStringLiteral("\u201c%1\u201d").arg(QDir::toNativeSeparators(path));
}

struct Opened
{
    GDALDatasetUniquePtr dataset;
    QString failure;
};

// A shapefile is three files at least; name the one that is missing rather than pass on
// GDAL's words about it.
QString missingShapefilePart(const QFileInfo &file)
{
    for (const char *suffix : {"shx", "dbf"}) {
        const QString part = file.completeBaseName() + u'.' + QLatin1String(suffix);
        if (QDir(file.absolutePath()).entryList({part}, QDir::Files).isEmpty())
            return QStringLiteral("%1 cannot be read without its .%2 file beside it.")
                .arg(quoted(file.filePath()), QLatin1String(suffix));
    }
    return {};
}

// The driver a known suffix names; any other file may go to any vector driver but these,
// which reach the network, run other programs, or write files beside the one they read (the
// .gfs of GML is kept from being written by an open option instead).
struct SuffixDriver
{
    const char *suffix, *driver;
};
const SuffixDriver suffixDrivers[] = {
    {"gpx", "GPX"},
    {"kml", "KML"},
    {"geojson", "GeoJSON"},
    {"json", "GeoJSON"},
    {"shp", "ESRI Shapefile"},
    {"gpkg", "GPKG"},
};
const char *const refusedDrivers[] = {
    "GPSBabel", "NAS",        "GMLAS",    "VFK",        "EEDA",   "OGCAPI",
    "WFS",      "OAPIF",      "CSW",      "PLSCENES",   "NGW",    "Elasticsearch",
    "Carto",    "AmigoCloud", "HTTP",     "PostgreSQL", "MySQL",  "MSSQLSpatial",
    "ODBC",     "PGeo",       "OGR_OGDI", "Memory",     "PGDUMP",
};

// The drivers that may read a file of this suffix, GML apart.
CPLStringList allowedDrivers(const QString &suffix)
{
    CPLStringList names;
    for (const SuffixDriver &d : suffixDrivers) {
        if (suffix.compare(QLatin1String(d.suffix), Qt::CaseInsensitive) == 0) {
            names.AddString(d.driver);
            return names;
        }
    }
    GDALDriverManager *manager = GetGDALDriverManager();
    for (int i = 0; i < manager->GetDriverCount(); ++i) {
        GDALDriver *driver = manager->GetDriver(i);
        const char *name = driver->GetDescription();
        if (!driver->GetMetadataItem(GDAL_DCAP_VECTOR) || std::strcmp(name, "GML") == 0
            || std::any_of(std::begin(refusedDrivers), std::end(refusedDrivers),
                           [&](const char *refused) { return std::strcmp(name, refused) == 0; }))
            continue;
        names.AddString(name);
    }
    return names;
}

GDALDatasetUniquePtr openWith(const QByteArray &name, const CPLStringList &drivers,
                              const char *const *options = nullptr)
{
    return GDALDatasetUniquePtr(GDALDataset::FromHandle(GDALOpenEx(
        name.constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers.List(), options, nullptr)));
}

Opened openVector(const QString &path)
{
    setUpGdal();
    if (isRemoteName(path))
        return {nullptr, QStringLiteral("Only files on this computer can be imported.")};
    const QFileInfo file(path);
    if (file.isDir())
        return {nullptr, QStringLiteral("%1 is a folder; choose a file in it.").arg(quoted(path))};
    if (!file.isFile())
        return {nullptr, QStringLiteral("%1 does not exist.").arg(quoted(path))};
    if (file.size() == 0)
        return {nullptr, QStringLiteral("%1 is empty.").arg(quoted(path))};
    if (file.suffix().compare(u"shp", Qt::CaseInsensitive) == 0) {
        if (QString missing = missingShapefilePart(file); !missing.isEmpty())
            return {nullptr, missing};
    }
    CPLErrorReset();
    const GdalMessages messages;
    // The suffix picks the driver, so that a text inside a file (a GPX name that mentions
    // GML, say) never hands it to another one.
    const QByteArray name = QDir::toNativeSeparators(file.absoluteFilePath()).toUtf8();
    const CPLStringList drivers = allowedDrivers(file.suffix());
    GDALDatasetUniquePtr dataset = openWith(name, drivers);
    if (!dataset && drivers.size() > 1) {
        CPLStringList gml;
        gml.AddString("GML");
        const char *const noGfs[] = {"WRITE_GFS=NO", nullptr};
        dataset = openWith(name, gml, noGfs);
    }
    if (!dataset) {
        QString failure = QStringLiteral("%1 is not a vector file GDAL can read").arg(quoted(path));
        if (drivers.size() == 1)
            failure += QStringLiteral(" as %1").arg(QLatin1String(drivers[0]));
        const QString reason = messages.text();
        return {nullptr,
                reason.isEmpty() ? failure + u'.' : QStringLiteral("%1: %2").arg(failure, reason)};
    }
    return {std::move(dataset), {}};
}

// The line or polygon an import presses from a geometry: the geometry itself, or the first
// such part of a multi-geometry.
struct Picked
{
    std::optional<Kind> kind;
    const OGRSimpleCurve *curve = nullptr; // a line, or a polygon's outer ring
    qsizetype parts = 1, holes = 0;
};

Picked pick(const OGRGeometry *g)
{
    if (!g || g->IsEmpty())
        return {};
    if (auto *curve = dynamic_cast<const OGRSimpleCurve *>(g))
        return {Kind::Line, curve};
    if (auto *polygon = dynamic_cast<const OGRPolygon *>(g))
        return {Kind::Polygon, polygon->getExteriorRing(), 1, polygon->getNumInteriorRings()};
    if (dynamic_cast<const OGRPoint *>(g) || dynamic_cast<const OGRMultiPoint *>(g))
        return {Kind::Points};
    if (auto *collection = dynamic_cast<const OGRGeometryCollection *>(g)) {
        for (const OGRGeometry *member : *collection) {
            Picked p = pick(member);
            if (p.curve) {
                p.parts = collection->getNumGeometries();
                return p;
            }
        }
    }
    return {};
}

// Arcs and other curves become lines, as GDAL draws them.
std::unique_ptr<OGRGeometry> linear(const OGRGeometry *g)
{
    if (!g)
        return nullptr;
    return std::unique_ptr<OGRGeometry>(g->hasCurveGeometry() ? g->getLinearGeometry()
                                                              : g->clone());
}

qsizetype pressedVertices(const Picked &p)
{
    const qsizetype n = p.curve->getNumPoints();
    // A polygon's ring ends on its first vertex again; that one is not pressed twice.
    return p.kind == Kind::Polygon && n > 1 && p.curve->get_IsClosed() ? n - 1 : n;
}

void addPoints(const OGRGeometry *g, std::vector<double> &x, std::vector<double> &y)
{
    if (auto *point = dynamic_cast<const OGRPoint *>(g)) {
        if (!point->IsEmpty()) {
            x.push_back(point->getX());
            y.push_back(point->getY());
        }
    } else if (auto *points = dynamic_cast<const OGRMultiPoint *>(g)) {
        for (const OGRPoint *p : *points)
            addPoints(p, x, y);
    }
}

qsizetype pointCount(const OGRGeometry *g)
{
    if (auto *points = dynamic_cast<const OGRMultiPoint *>(g)) {
        qsizetype count = 0;
        for (const OGRPoint *p : *points)
            count += pointCount(p);
        return count;
    }
    return dynamic_cast<const OGRPoint *>(g) && !g->IsEmpty() ? 1 : 0;
}

// A name from the file, as a typed one: the picker and the messages show it on one line.
QString textFromFile(const char *utf8)
{
    return typedText(QString::fromUtf8(utf8)).simplified();
}

QString nameOfFeature(OGRFeature &feature, OGRLayer &layer, qint64 place)
{
    const int field = feature.GetFieldIndex("name");
    if (field >= 0 && feature.IsFieldSetAndNotNull(field)) {
        QString name = textFromFile(feature.GetFieldAsString(field));
        if (!name.isEmpty())
            return name;
    }
    return QStringLiteral("%1 %2").arg(textFromFile(layer.GetName())).arg(place + 1);
}

// Turns a layer's coordinates into longitude (x) and latitude (y). A layer without a
// coordinate system is taken to be in degrees already, as GeoJSON, KML and GPX are.
struct ToDegrees
{
    std::unique_ptr<OGRCoordinateTransformation> transform;
    QString failure;
};

ToDegrees toDegrees(OGRLayer &layer, const QString &path)
{
    const OGRSpatialReference *source = layer.GetSpatialRef();
    if (!source)
        return {};
    OGRSpatialReference wgs84;
    wgs84.importFromEPSG(4326);
    // GDAL 3 would give latitude first for EPSG:4326.
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    CPLErrorReset();
    std::unique_ptr<OGRCoordinateTransformation> transform(
        OGRCreateCoordinateTransformation(source, &wgs84));
    if (!transform) {
        const char *name = source->GetName();
        return {nullptr, QStringLiteral("The coordinate system of %1 (%2) cannot be turned into "
                                        "latitude and longitude.")
                             .arg(quoted(path), QString::fromUtf8(name ? name : "unnamed"))};
    }
    return {std::move(transform), {}};
}

// The vertices are at most importVertexLimit, well within GDAL's int count.
std::vector<GeoPoint> inDegrees(std::vector<double> &x, std::vector<double> &y,
                                OGRCoordinateTransformation *transform)
{
    std::vector<int> ok(x.size(), TRUE);
    if (transform && !x.empty())
        transform->Transform(int(x.size()), x.data(), y.data(), nullptr, ok.data());
    std::vector<GeoPoint> points;
    points.reserve(x.size());
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    for (std::size_t i = 0; i < x.size(); ++i)
        points.push_back(ok[i] ? GeoPoint{y[i], x[i]} : GeoPoint{none, none});
    return points;
}

QString tooMany(const QString &name, qsizetype count)
{
    return QStringLiteral("%1 has %2 vertices; at most %3 can be imported at once.")
        .arg(name)
        .arg(count)
        .arg(importVertexLimit);
}
} // namespace

QString importFilter()
{
    return QStringLiteral("Vector files (*.gpx *.kml *.geojson *.json *.shp *.gpkg *.gml *.fgb "
                          "*.sqlite *.csv *.osm *.pbf *.tab *.mif *.dxf);;All files (*)");
}

ShapeListing listShapes(const QString &path)
{
    ShapeListing listing;
    Opened opened = openVector(path);
    if (!opened.dataset) {
        listing.failure = opened.failure;
        return listing;
    }
    std::vector<ShapeCandidate> pointLayers;
    for (int i = 0; i < opened.dataset->GetLayerCount() && !listing.more; ++i) {
        OGRLayer &layer = *opened.dataset->GetLayer(i);
        qsizetype points = 0;
        qint64 place = 0;
        for (auto &feature : layer) {
            const std::unique_ptr<OGRGeometry> g = linear(feature->GetGeometryRef());
            const Picked p = pick(g.get());
            if (p.curve && pressedVertices(p) > 0) {
                if (listing.candidates.size() == candidateLimit) {
                    listing.more = true;
                    break;
                }
                listing.candidates.push_back(
                    {nameOfFeature(*feature, layer, place), *p.kind, pressedVertices(p), i, place});
            } else if (p.kind == Kind::Points) {
                points += pointCount(g.get());
            }
            ++place;
        }
        if (points > 0)
            pointLayers.push_back({textFromFile(layer.GetName()), Kind::Points, points, i, -1});
    }
    if (listing.candidates.empty())
        listing.candidates = std::move(pointLayers);
    if (listing.candidates.empty())
        listing.failure = QStringLiteral("%1 holds no line, polygon or point.").arg(quoted(path));
    return listing;
}

QString kindText(ShapeCandidate::Kind kind)
{
    static const char *const kinds[] = {"line", "polygon", "points"};
    return QLatin1String(kinds[int(kind)]);
}

QString candidateText(const ShapeCandidate &c)
{
    return QStringLiteral("%1: %2, %3 %4")
        .arg(c.name, kindText(c.kind))
        .arg(c.vertices)
        .arg(c.vertices == 1 ? QStringLiteral("vertex") : QStringLiteral("vertices"));
}

QString pickQuestion(const ShapeListing &listing)
{
    return listing.more ? QStringLiteral("Press which shape? (the first %1 of the file are listed)")
                              .arg(candidateLimit)
                        : QStringLiteral("Press which shape?");
}

ShapeVertices readShape(const QString &path, const ShapeCandidate &candidate)
{
    ShapeVertices shape;
    Opened opened = openVector(path);
    OGRLayer *layer = opened.dataset ? opened.dataset->GetLayer(candidate.layer) : nullptr;
    if (!layer) {
        shape.failure =
            opened.dataset ? QStringLiteral("%1 has changed since it was listed.").arg(quoted(path))
                           : opened.failure;
        return shape;
    }
    ToDegrees degrees = toDegrees(*layer, path);
    if (!degrees.failure.isEmpty()) {
        shape.failure = degrees.failure;
        return shape;
    }
    std::vector<double> x, y;
    layer->ResetReading();
    if (candidate.kind == Kind::Points) {
        for (auto &feature : *layer) {
            addPoints(feature->GetGeometryRef(), x, y);
            if (qsizetype(x.size()) > importVertexLimit) {
                shape.failure =
                    tooMany(QStringLiteral("Layer %1").arg(candidate.name), qsizetype(x.size()));
                return shape;
            }
        }
    } else {
        OGRFeatureUniquePtr feature;
        for (qint64 i = 0; i <= candidate.feature; ++i)
            feature.reset(layer->GetNextFeature());
        const std::unique_ptr<OGRGeometry> g =
            linear(feature ? feature->GetGeometryRef() : nullptr);
        const Picked p = pick(g.get());
        if (!p.curve || p.kind != candidate.kind) {
            shape.failure = QStringLiteral("%1 has changed since it was listed.").arg(quoted(path));
            return shape;
        }
        const qsizetype n = pressedVertices(p);
        if (n > importVertexLimit) {
            shape.failure = tooMany(candidate.name, n);
            return shape;
        }
        for (qsizetype i = 0; i < n; ++i) {
            x.push_back(p.curve->getX(int(i)));
            y.push_back(p.curve->getY(int(i)));
        }
        shape.parts = p.parts;
        shape.holes = p.holes;
    }
    shape.vertices = inDegrees(x, y, degrees.transform.get());
    if (shape.vertices.empty())
        shape.failure = QStringLiteral("%1 has no vertex to press.").arg(candidate.name);
    return shape;
}

OpenedVector openVectorFile(const QString &path)
{
    Opened opened = openVector(path);
    return {std::move(opened.dataset), opened.failure};
}

LayerToDegrees layerToDegrees(OGRLayer &layer, const QString &path)
{
    ToDegrees degrees = toDegrees(layer, path);
    return {std::move(degrees.transform), degrees.failure};
}

QString featureName(OGRFeature &feature, OGRLayer &layer, qint64 place)
{
    return nameOfFeature(feature, layer, place);
}

std::unique_ptr<OGRGeometry> linearGeometry(const OGRGeometry *geometry)
{
    return linear(geometry);
}
