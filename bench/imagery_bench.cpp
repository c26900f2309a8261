// The cut of one area against the same cut by GDAL's own GDALWarp(), in this process, with
// the same options: bilinear, the cut's grid, an alpha band, the same overview rule. Each run
// opens the file anew, as a load or a Calculate does, so GDAL's block cache starts empty.
#include "grid/grid_constants.h"
#include "imagery/area_cut.h"
#include "imagery/gdal_setup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>
#include <gdal_priv.h>
#include <gdal_utils.h>
#include <ogr_spatialref.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

const GridPlace seattle{123, 120, 2, 27};

// The sources, made once and kept between runs: they take a minute or two to write.
QString dataFolder()
{
    const char *set = std::getenv("MARLITH_BENCH_DATA");
    const QString folder = set ? QString::fromLocal8Bit(set)
                               : QDir::tempPath() + QStringLiteral("/marlith-bench-data");
    QDir().mkpath(folder);
    return folder;
}

// Something like an aerial photograph for the compressor: smooth fields and sharp edges.
GByte texture(int i, int j, int band)
{
    const int field = ((i / 97) * 31 + (j / 89) * 17 + band * 53) & 255;
    return GByte((field + ((i * 7) ^ (j * 5)) % 23) & 255);
}

void writeRaster(const QString &path, const char *driverName, int size, int epsg,
                 const double gt[6], const std::vector<const char *> &options, bool overviews)
{
    GDALDriver *driver = GetGDALDriverManager()->GetDriverByName(driverName);
    GDALDriver *memory = GetGDALDriverManager()->GetDriverByName("MEM");
    const bool direct = driver->GetMetadataItem(GDAL_DCAP_CREATE) != nullptr;
    std::vector<const char *> list = options;
    list.push_back(nullptr);
    char **createOptions = const_cast<char **>(list.data());
    GDALDatasetUniquePtr out(
        direct ? driver->Create(path.toUtf8().constData(), size, size, 3, GDT_Byte, createOptions)
               : memory->Create("", size, size, 3, GDT_Byte, nullptr));
    out->SetGeoTransform(const_cast<double *>(gt));
    if (epsg) {
        OGRSpatialReference crs;
        crs.importFromEPSG(epsg);
        out->SetSpatialRef(&crs);
    }
    constexpr int strip = 256;
    std::vector<GByte> buffer(std::size_t(size) * strip * 3);
    for (int top = 0; top < size; top += strip) {
        const int rows = std::min(strip, size - top);
        for (int b = 0; b < 3; ++b)
            for (int j = 0; j < rows; ++j)
                for (int i = 0; i < size; ++i)
                    buffer[(std::size_t(b) * rows + j) * size + i] = texture(i, top + j, b);
        if (out->RasterIO(GF_Write, 0, top, size, rows, buffer.data(), size, rows, GDT_Byte, 3,
                          nullptr, 0, 0, 0, nullptr)
            != CE_None)
            std::abort();
    }
    if (overviews) {
        const int levels[] = {2, 4, 8, 16, 32, 64};
        CPLSetConfigOption("COMPRESS_OVERVIEW", "JPEG");
        CPLSetConfigOption("PHOTOMETRIC_OVERVIEW", "YCBCR");
        if (out->BuildOverviews("AVERAGE", 6, levels, 0, nullptr, nullptr, nullptr) != CE_None)
            std::abort();
    }
    if (!direct)
        GDALDatasetUniquePtr(driver->CreateCopy(path.toUtf8().constData(), out.get(), FALSE,
                                                createOptions, nullptr, nullptr));
}

struct Source
{
    QString path;
    const char *assumedCrs; // for GDALWarp, where the cut assumes one for a world file
};

// 20 000 x 20 000, tiled, JPEG in YCbCr, with overviews: one LOD 8 cell in degrees, or the
// same ground in Web Mercator; and a 5 000 x 5 000 JPEG over 4 x 4 areas with a world file.
Source source(const char *kind)
{
    setUpGdal();
    const QString folder = dataFolder();
    const GeoBounds cell = cellBounds(seattle.cellColumn, seattle.cellRow);
    const std::vector<const char *> tiled = {"TILED=YES", "COMPRESS=JPEG", "PHOTOMETRIC=YCBCR",
                                             "BIGTIFF=IF_SAFER"};
    const QByteArray which(kind);
    if (which == "degrees") {
        const QString path = folder + QStringLiteral("/cell-degrees.tif");
        const double gt[6] = {cell.west, lod::cellWidth / 20000,  0, cell.north,
                              0,         -lod::cellHeight / 20000};
        if (!QFileInfo::exists(path))
            writeRaster(path, "GTiff", 20000, 4326, gt, tiled, true);
        return {path, nullptr};
    }
    if (which == "mercator") {
        const QString path = folder + QStringLiteral("/cell-mercator.tif");
        OGRSpatialReference wgs84, mercator;
        wgs84.importFromEPSG(4326);
        mercator.importFromEPSG(3857);
        wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        mercator.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        double x[2] = {cell.west, cell.east}, y[2] = {cell.north, cell.south};
        std::unique_ptr<OGRCoordinateTransformation>(
            OGRCreateCoordinateTransformation(&wgs84, &mercator))
            ->Transform(2, x, y);
        const double gt[6] = {x[0], (x[1] - x[0]) / 20000, 0, y[0], 0, (y[1] - y[0]) / 20000};
        if (!QFileInfo::exists(path))
            writeRaster(path, "GTiff", 20000, 3857, gt, tiled, true);
        return {path, nullptr};
    }
    const QString path = folder + QStringLiteral("/areas.jpg");
    const GeoBounds area = areaBounds(seattle);
    const double gt[6] = {
        area.west - lod::areaWidth, 4 * lod::areaWidth / 5000, 0, area.north + lod::areaHeight, 0,
        -4 * lod::areaHeight / 5000};
    if (!QFileInfo::exists(path)) {
        writeRaster(path, "JPEG", 5000, 0, gt, {}, false);
        QFile::remove(path + QStringLiteral(".aux.xml"));
        QFile world(folder + QStringLiteral("/areas.jgw"));
        if (!world.open(QIODevice::WriteOnly))
            std::abort();
        for (double v : {gt[1], gt[4], gt[2], gt[5], gt[0] + gt[1] / 2, gt[3] + gt[5] / 2})
            world.write(QByteArray::number(v, 'g', 17) + '\n');
    }
    return {path, "EPSG:4326"};
}

// GDALWarp() asked for exactly the cut: the same grid, resampling and alpha, read back.
QImage gdalWarpCut(const Source &s)
{
    const GeoBounds area = areaBounds(seattle);
    const double dx = lod::areaWidth / lod::areaPitch, dy = lod::areaHeight / lod::areaPitch;
    const auto text = [](double v) { return QByteArray::number(v, 'g', 17); };
    QList<QByteArray> args = {"-of",
                              "MEM",
                              "-t_srs",
                              "EPSG:4326",
                              "-te",
                              text(area.west - dx / 2),
                              text(area.south - dy / 2),
                              text(area.east + dx / 2),
                              text(area.north + dy / 2),
                              "-ts",
                              "256",
                              "256",
                              "-r",
                              "bilinear",
                              "-dstalpha"};
    if (s.assumedCrs)
        args << "-s_srs" << s.assumedCrs;
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    GDALWarpAppOptions *options = GDALWarpAppOptionsNew(argv.data(), nullptr);
    GDALDatasetH source = GDALOpen(s.path.toUtf8().constData(), GA_ReadOnly);
    GDALDatasetUniquePtr cut(
        GDALDataset::FromHandle(GDALWarp("", nullptr, 1, &source, options, nullptr)));
    GDALWarpAppOptionsFree(options);
    QImage image(256, 256, QImage::Format_RGBA8888);
    if (!cut
        || cut->RasterIO(GF_Read, 0, 0, 256, 256, image.bits(), 256, 256, GDT_Byte, 4, nullptr, 4,
                         image.bytesPerLine(), 1, nullptr)
               != CE_None)
        image = QImage();
    GDALClose(source);
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// How far the two cuts lie apart: the largest difference of any channel of any pixel.
int largestDifference(const QImage &a, const QImage &b)
{
    int most = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            for (int shift : {0, 8, 16, 24})
                most = std::max(most, std::abs(int((a.pixel(x, y) >> shift) & 255)
                                               - int((b.pixel(x, y) >> shift) & 255)));
    return most;
}

void BM_Cut(benchmark::State &state, const char *kind)
{
    const Source s = source(kind);
    AreaCut cut;
    for (auto _ : state) {
        cut = cutArea(s.path, seattle);
        benchmark::DoNotOptimize(cut.image.constBits());
    }
    if (!cut.ok())
        state.SkipWithError(cut.failure.toUtf8().constData());
    else
        state.counters["largest_difference"] = largestDifference(cut.image, gdalWarpCut(s));
}

void BM_GdalWarp(benchmark::State &state, const char *kind)
{
    const Source s = source(kind);
    QImage image;
    for (auto _ : state) {
        image = gdalWarpCut(s);
        benchmark::DoNotOptimize(image.constBits());
    }
    if (image.isNull())
        state.SkipWithError("GDALWarp failed");
}

BENCHMARK_CAPTURE(BM_Cut, TiledGeoTiff, "degrees")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_GdalWarp, TiledGeoTiff, "degrees")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Cut, MercatorGeoTiff, "mercator")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_GdalWarp, MercatorGeoTiff, "mercator")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Cut, JpegWorldFile, "jpeg")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_GdalWarp, JpegWorldFile, "jpeg")->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
