#include "test_rasters.h"

#include "grid/grid_constants.h"
#include "imagery/gdal_setup.h"

#include <QFile>
#include <QFileInfo>

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace {

OGRSpatialReference crsOf(int epsg)
{
    OGRSpatialReference crs;
    crs.importFromEPSG(epsg);
    crs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return crs;
}

std::unique_ptr<OGRCoordinateTransformation> transformation(int from, int to)
{
    const OGRSpatialReference a = crsOf(from), b = crsOf(to);
    return std::unique_ptr<OGRCoordinateTransformation>(OGRCreateCoordinateTransformation(&a, &b));
}

// The raster's geotransform: the extent's box in the raster's system, turned by the rotation
// about its centre and grown to cover the box still.
std::array<double, 6> geotransformFor(const GeoBounds &area, const RampRaster &raster, int &width,
                                      int &height)
{
    const double dx = lod::areaWidth / lod::areaPitch, dy = lod::areaHeight / lod::areaPitch;
    const QRectF &e = raster.extent;
    std::vector<double> x, y;
    for (double u : {e.left(), e.center().x(), e.right()}) {
        for (double v : {e.top(), e.center().y(), e.bottom()}) {
            x.push_back(area.west + u * dx);
            y.push_back(area.north - v * dy);
        }
    }
    transformation(4326, raster.epsg)->Transform(x.size(), x.data(), y.data());
    const auto [minX, maxX] = std::minmax_element(x.begin(), x.end());
    const auto [minY, maxY] = std::minmax_element(y.begin(), y.end());
    const double angle = raster.rotation * std::numbers::pi / 180;
    const double grow = std::abs(std::cos(angle)) + std::abs(std::sin(angle));
    width = int(std::ceil(e.width() * raster.fineness * grow));
    height = int(std::ceil(e.height() * raster.fineness * grow));
    const double sx = (*maxX - *minX) / (e.width() * raster.fineness);
    const double sy = (*maxY - *minY) / (e.height() * raster.fineness);
    std::array<double, 6> gt{0, sx * std::cos(angle), sy * std::sin(angle),
                             0, sx * std::sin(angle), -sy * std::cos(angle)};
    gt[0] = (*minX + *maxX) / 2 - width / 2.0 * gt[1] - height / 2.0 * gt[2];
    gt[3] = (*minY + *maxY) / 2 - width / 2.0 * gt[4] - height / 2.0 * gt[5];
    return gt;
}

} // namespace

int rampFromNear(double t)
{
    return std::clamp(int(std::lround(4 * (t + 8))), 0, 255);
}

int rampFromFar(double t)
{
    return rampFromNear(lod::lastPixel - t);
}

void writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(text);
}

QByteArray worldFileText(const std::array<double, 6> &gt)
{
    // A world file names the centre of the top-left pixel.
    const double values[] = {
        gt[1], gt[4], gt[2], gt[5], gt[0] + gt[1] / 2 + gt[2] / 2, gt[3] + gt[4] / 2 + gt[5] / 2};
    QByteArray text;
    for (double v : values)
        text += QByteArray::number(v, 'g', 17) + '\n';
    return text;
}

QString writeRampRaster(const QString &path, const GridPlace &place, const RampRaster &raster)
{
    setUpGdal();
    const GeoBounds area = areaBounds(place);
    int width = 0, height = 0;
    const std::array<double, 6> gt = geotransformFor(area, raster, width, height);

    // Each pixel's centre, on the globe, as a position in cut pixels.
    std::vector<double> x, y;
    x.reserve(std::size_t(width) * height);
    y.reserve(x.capacity());
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            x.push_back(gt[0] + (i + 0.5) * gt[1] + (j + 0.5) * gt[2]);
            y.push_back(gt[3] + (i + 0.5) * gt[4] + (j + 0.5) * gt[5]);
        }
    }
    transformation(raster.epsg, 4326)->Transform(x.size(), x.data(), y.data());
    std::vector<GByte> red(x.size()), green(x.size()), blue(x.size(), 128);
    for (std::size_t k = 0; k < x.size(); ++k) {
        const double t = raster.rows ? (area.north - y[k]) / (lod::areaHeight / lod::areaPitch)
                                     : (x[k] - area.west) / (lod::areaWidth / lod::areaPitch);
        red[k] = GByte(rampFromNear(t));
        green[k] = GByte(rampFromFar(t));
    }

    GDALDriver *memory = GetGDALDriverManager()->GetDriverByName("MEM");
    GDALDatasetUniquePtr image(memory->Create("", width, height, 3, GDT_Byte, nullptr));
    for (int b = 0; b < 3; ++b) {
        GByte *band = b == 0 ? red.data() : b == 1 ? green.data() : blue.data();
        if (image->GetRasterBand(b + 1)->RasterIO(GF_Write, 0, 0, width, height, band, width,
                                                  height, GDT_Byte, 0, 0, nullptr)
            != CE_None)
            return {};
    }
    const OGRSpatialReference crs = crsOf(raster.epsg);
    const bool inFile =
        raster.georef == RampRaster::Embedded || raster.georef == RampRaster::AuxXml;
    if (inFile) {
        image->SetGeoTransform(const_cast<double *>(gt.data()));
        image->SetSpatialRef(&crs);
    }
    GDALDriver *driver = GetGDALDriverManager()->GetDriverByName(raster.driver);
    const char *const tiled[] = {"TILED=YES", nullptr};
    char **options = QByteArray(raster.driver) == "GTiff" ? const_cast<char **>(tiled) : nullptr;
    GDALDatasetUniquePtr written(driver->CreateCopy(path.toUtf8().constData(), image.get(), FALSE,
                                                    options, nullptr, nullptr));
    if (!written)
        return {};
    if (raster.overviews > 0) {
        std::vector<int> levels;
        for (int l = 1; l <= raster.overviews; ++l)
            levels.push_back(1 << l);
        if (written->BuildOverviews("AVERAGE", int(levels.size()), levels.data(), 0, nullptr,
                                    nullptr, nullptr)
            != CE_None)
            return {};
    }
    written.reset();

    if (!inFile) {
        const QFileInfo info(path);
        const QString ext = info.suffix();
        const QString stem = info.path() + u'/' + info.completeBaseName();
        const QString world = raster.worldFileExtension
                                  ? QLatin1String(raster.worldFileExtension)
                                  : u'.' + QString(ext.front()) + ext.back() + u'w';
        writeText(stem + world, worldFileText(gt));
        if (raster.georef == RampRaster::WorldFileAndPrj) {
            char *wkt = nullptr;
            const char *const esri[] = {"FORMAT=WKT1_ESRI", nullptr};
            crs.exportToWkt(&wkt, esri);
            writeText(stem + QStringLiteral(".prj"), wkt);
            CPLFree(wkt);
        }
    }
    return path;
}
