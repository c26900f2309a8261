#include "imagery/georeferencing.h"

#include "imagery/gdal_setup.h"

#include <QFile>
#include <QFileInfo>

#include <cpl_string.h>

#include <array>
#include <cmath>
#include <memory>

namespace {

// No map places an image with numbers beyond this, in metres, feet or degrees.
constexpr double largestGeoNumber = 1e9;

GeoRaster refused(const QString &reason)
{
    GeoRaster r;
    r.kind = ImageProbe::Refused;
    r.reason = reason;
    return r;
}

// The names GDAL looks for a world file under: the extension's first and last letters and
// "w", the extension and "w", or "wld".
QString worldFileBeside(const QString &path)
{
    const QFileInfo info(path);
    const QString ext = info.suffix();
    if (ext.isEmpty())
        return {};
    const QString stem = info.path() + u'/' + info.completeBaseName() + u'.';
    for (const QString &candidate :
         {QString(ext.front()) + ext.back() + u'w', ext + u'w', QStringLiteral("wld")}) {
        for (const QString &name : {candidate.toLower(), candidate.toUpper()}) {
            if (QFileInfo::exists(stem + name))
                return QFileInfo(stem + name).fileName();
        }
    }
    return {};
}

QString prjBeside(const QString &path)
{
    const QFileInfo info(path);
    const QString stem = info.path() + u'/' + info.completeBaseName();
    for (const char *ext : {".prj", ".PRJ"}) {
        if (QFileInfo::exists(stem + QLatin1String(ext)))
            return stem + QLatin1String(ext);
    }
    return {};
}

bool placesOnTheGlobe(const std::array<double, 6> &gt)
{
    for (double v : gt) {
        if (!std::isfinite(v) || std::abs(v) > largestGeoNumber)
            return false;
    }
    const double determinant = gt[1] * gt[5] - gt[2] * gt[4];
    return std::isnormal(determinant);
}

// A world file names no coordinate system: small numbers inside the globe's range are
// degrees, anything else is taken for Web Mercator metres, what web map tiles are in.
CrsOrigin assumedCrs(const std::array<double, 6> &gt)
{
    const bool degrees = std::abs(gt[0]) <= 180 && std::abs(gt[3]) <= 90 && std::abs(gt[1]) < 1
                         && std::abs(gt[5]) < 1;
    return degrees ? CrsOrigin::AssumedDegrees : CrsOrigin::AssumedWebMercator;
}

bool readPrj(const QString &prj, OGRSpatialReference &crs)
{
    // .prj files are a few lines; anything much longer is not one.
    char **lines = CSLLoad2(prj.toUtf8().constData(), 200, 20000, nullptr);
    if (!lines)
        return false;
    const bool read = crs.importFromESRI(lines) == OGRERR_NONE && !crs.IsEmpty();
    CSLDestroy(lines);
    return read;
}

bool convertsToDegrees(const OGRSpatialReference &crs)
{
    OGRSpatialReference wgs84;
    wgs84.importFromEPSG(4326);
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return std::unique_ptr<OGRCoordinateTransformation>(
               OGRCreateCoordinateTransformation(&crs, &wgs84))
           != nullptr;
}

QString checkFile(const QString &path)
{
    const QString name = fileName(path);
    if (isRemoteName(path))
        return QStringLiteral("%1 is a network address, and Marlith reads only files on this "
                              "computer.")
            .arg(path);
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("%1 is no longer there.").arg(name);
    if (info.isDir())
        return QStringLiteral("%1 is a folder, not an image.").arg(name);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fullSentence(QStringLiteral("%1 cannot be read: %2").arg(name, file.errorString()));
    return {};
}

// The coordinate system from the file or its .aux.xml, else from a .prj, else assumed.
bool resolveCrs(GeoRaster &r, const QString &path, const std::array<double, 6> &gt)
{
    const OGRSpatialReference *own = r.dataset->GetSpatialRef();
    if (!own)
        own = r.dataset->GetGCPSpatialRef();
    if (own && !own->IsEmpty()) {
        r.crs = *own;
        r.crsOrigin = CrsOrigin::File;
    } else if (const QString prj = prjBeside(path); !prj.isEmpty()) {
        if (!readPrj(prj, r.crs)) {
            r = refused(QStringLiteral("The projection file %1 names no coordinate system that "
                                       "is known.")
                            .arg(fileName(prj)));
            return false;
        }
        r.crs.AutoIdentifyEPSG(); // for its code in the status line; the name is enough
        r.crsOrigin = CrsOrigin::ProjectionFile;
    } else {
        r.crsOrigin = assumedCrs(gt);
        r.crs.importFromEPSG(r.crsOrigin == CrsOrigin::AssumedDegrees ? 4326 : 3857);
    }
    r.crs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (!convertsToDegrees(r.crs)) {
        r = refused(QStringLiteral("%1 is in a coordinate system (%2) that cannot be turned into "
                                   "latitude and longitude.")
                        .arg(fileName(path), crsDisplayName(r.crs)));
        return false;
    }
    return true;
}

} // namespace

QString fullSentence(QString text)
{
    text = text.simplified();
    if (!text.endsWith(u'.'))
        text += u'.';
    return text;
}

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString damagedText(const QString &path)
{
    return QStringLiteral("\u201c%1\u201d is damaged: part of its picture cannot be read, as "
                          "when a download or a copy stopped early.")
        .arg(fileName(path));
}

QString crsDisplayName(const OGRSpatialReference &crs)
{
    // The names come from the file, line breaks and all, and are shown within one sentence.
    const char *name = crs.GetName();
    QString text = QString::fromUtf8(name ? name : "").simplified();
    if (text.isEmpty())
        text = QStringLiteral("an unnamed system");
    const char *authority = crs.GetAuthorityName(nullptr);
    const char *code = crs.GetAuthorityCode(nullptr);
    if (authority && code)
        text += QStringLiteral(" (%1:%2)")
                    .arg(QString::fromUtf8(authority).simplified(),
                         QString::fromUtf8(code).simplified());
    return text;
}

GeoRaster openGeoRaster(const QString &path)
{
    if (const QString problem = checkFile(path); !problem.isEmpty())
        return refused(problem);
    const QString name = fileName(path);

    setUpGdal();
    CPLErrorReset();
    GeoRaster r;
    r.dataset.reset(
        GDALDataset::Open(path.toUtf8().constData(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    if (!r.dataset) {
        const QString why = lastGdalError();
        // A file a driver knows by its first bytes but cannot open is a damaged one, unless
        // it holds shapes rather than a picture (a GeoPackage can hold either).
        const QByteArray file = path.toUtf8();
        if (GDALIdentifyDriverEx(file.constData(), GDAL_OF_RASTER, nullptr, nullptr)
            && !GDALDatasetUniquePtr(
                GDALDataset::Open(file.constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY))) {
            r.reason = QStringLiteral("\u201c%1\u201d is damaged: it starts as an image does, "
                                      "but the rest cannot be read.")
                           .arg(name);
            return r;
        }
        r.reason =
            why.isEmpty()
                ? QStringLiteral("%1 is not an image GDAL reads.").arg(name)
                : fullSentence(QStringLiteral("%1 is not an image GDAL reads: %2").arg(name, why));
        return r;
    }

    std::array<double, 6> gt{};
    const bool hasGeotransform = r.dataset->GetGeoTransform(gt.data()) == CE_None;
    if (!hasGeotransform && r.dataset->GetGCPCount() < 3) {
        if (const QString world = worldFileBeside(path); !world.isEmpty())
            return refused(QStringLiteral("The world file %1 cannot be used: it needs six numbers "
                                          "and a pixel size other than zero.")
                               .arg(world));
        return r;
    }
    if (hasGeotransform && !placesOnTheGlobe(gt))
        return refused(QStringLiteral("The georeferencing of %1 holds numbers that place it "
                                      "nowhere on the globe.")
                           .arg(name));
    if (!hasGeotransform && !r.dataset->GetGCPSpatialRef())
        return refused(
            QStringLiteral("%1 gives no coordinate system for its control points.").arg(name));

    if (r.dataset->GetRasterCount() < 1)
        return refused(QStringLiteral("%1 holds no image bands.").arg(name));
    const GDALDataType type = r.dataset->GetRasterBand(1)->GetRasterDataType();
    if (type != GDT_Byte)
        return refused(QStringLiteral("%1 holds %2 values, not 8-bit colours.")
                           .arg(name, QLatin1String(GDALGetDataTypeName(type))));

    if (!resolveCrs(r, path, gt))
        return r;
    r.kind = ImageProbe::Georeferenced;
    return r;
}

GDALDatasetUniquePtr openOverview(const QString &path, int level)
{
    const QByteArray option = "OVERVIEW_LEVEL=" + QByteArray::number(level);
    const char *const options[] = {option.constData(), nullptr};
    return GDALDatasetUniquePtr(GDALDataset::Open(
        path.toUtf8().constData(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, options));
}

ImageProbe probeImage(const QString &path)
{
    const GeoRaster r = openGeoRaster(path);
    return {r.kind, r.reason};
}
