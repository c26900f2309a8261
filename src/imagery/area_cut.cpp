#include "imagery/area_cut.h"

#include "grid/grid_constants.h"
#include "imagery/gdal_setup.h"
#include "imagery/georeferencing.h"

#include <gdal_alg.h>
#include <gdal_utils.h>
#include <gdalwarper.h>

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace {

constexpr int cutSize = lod::pixelUnits;
// What one cut may read: a 5 000 x 5 000 image whole, or a window of that size out of a
// larger one. More than this wants overviews, not a longer wait.
constexpr double mostSourcePixels = 64e6;
// gdalwarp's own default: a transformation approximated to an eighth of a pixel.
constexpr double transformError = 0.125;
constexpr double earthRadius = 6371008.8; // mean radius, metres

using Transformer = std::unique_ptr<void, decltype(&GDALDestroyTransformer)>;

struct Failure
{
    QString reason;
};

// Pixel p is centred on west + p x areaWidth / 255, so the cut's left edge lies half a pixel
// further west; likewise for rows from the north edge.
std::array<double, 6> cutGeotransform(const GeoBounds &area)
{
    const double dx = lod::areaWidth / lod::areaPitch, dy = lod::areaHeight / lod::areaPitch;
    return {area.west - dx / 2, dx, 0, area.north + dy / 2, 0, -dy};
}

Transformer makeTransformer(GDALDataset *source, GDALDataset *cut, const OGRSpatialReference &crs)
{
    char *wkt = nullptr;
    const char *const wktOptions[] = {"FORMAT=WKT2_2019", nullptr};
    crs.exportToWkt(&wkt, wktOptions);
    CPLStringList options;
    options.SetNameValue("SRC_SRS", wkt);
    options.SetNameValue("DST_SRS", "EPSG:4326");
    CPLFree(wkt);
    void *exact = GDALCreateGenImgProjTransformer2(source, cut, options.List());
    if (!exact)
        return Transformer(nullptr, GDALDestroyTransformer);
    void *approx = GDALCreateApproxTransformer(GDALGenImgProjTransform, exact, transformError);
    GDALApproxTransformerOwnsSubtransformer(approx, TRUE);
    return Transformer(approx, GDALDestroyTransformer);
}

// What of the source the cut needs: the window in full-resolution source pixels, and how
// many source pixels make one cut pixel.
struct SourceNeeds
{
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    double stepX = 0, stepY = 0; // source pixels per cut pixel along each axis
    double pixelArea = 0;        // source pixels in one cut pixel

    bool reaches(int width, int height) const
    {
        return maxX > 0 && maxY > 0 && minX < width && minY < height;
    }
};

SourceNeeds sourceNeeds(void *transformer, int width, int height)
{
    // The cut's border, densely, and a coarse grid inside it, in source pixels.
    std::vector<double> x, y;
    for (int i = 0; i <= cutSize; i += 8) {
        for (auto [px, py] : {std::pair{i, 0}, {i, cutSize}, {0, i}, {cutSize, i}}) {
            x.push_back(px);
            y.push_back(py);
        }
    }
    for (int i = 32; i < cutSize; i += 32) {
        for (int j = 32; j < cutSize; j += 32) {
            x.push_back(i);
            y.push_back(j);
        }
    }
    // Local scale from three neighbours at a few places; the first that transforms counts.
    const std::size_t scaleAt = x.size();
    for (auto [cx, cy] : {std::pair{128, 128}, {64, 64}, {192, 192}, {64, 192}, {192, 64}}) {
        x.insert(x.end(), {double(cx), cx + 1.0, double(cx)});
        y.insert(y.end(), {double(cy), double(cy), cy + 1.0});
    }
    std::vector<double> z(x.size(), 0);
    std::vector<int> ok(x.size(), 0);
    GDALUseTransformer(transformer, TRUE, int(x.size()), x.data(), y.data(), z.data(), ok.data());

    SourceNeeds needs;
    for (std::size_t i = 0; i < scaleAt; ++i) {
        if (!ok[i] || !std::isfinite(x[i]) || !std::isfinite(y[i]))
            continue;
        needs.minX = std::min(needs.minX, x[i]);
        needs.maxX = std::max(needs.maxX, x[i]);
        needs.minY = std::min(needs.minY, y[i]);
        needs.maxY = std::max(needs.maxY, y[i]);
    }
    for (std::size_t i = scaleAt; i < x.size(); i += 3) {
        if (!ok[i] || !ok[i + 1] || !ok[i + 2])
            continue;
        const double ax = x[i + 1] - x[i], ay = y[i + 1] - y[i];
        const double bx = x[i + 2] - x[i], by = y[i + 2] - y[i];
        needs.stepX = std::hypot(ax, ay);
        needs.stepY = std::hypot(bx, by);
        needs.pixelArea = std::abs(ax * by - ay * bx);
        break;
    }
    if (needs.pixelArea == 0 && needs.maxX > needs.minX) {
        needs.stepX = (needs.maxX - needs.minX) / cutSize;
        needs.stepY = (needs.maxY - needs.minY) / cutSize;
        needs.pixelArea = needs.stepX * needs.stepY;
    }
    // The bilinear kernel reaches one pixel beyond the points it samples.
    needs.minX = std::max(0.0, needs.minX - 1);
    needs.minY = std::max(0.0, needs.minY - 1);
    needs.maxX = std::min(double(width), needs.maxX + 1);
    needs.maxY = std::min(double(height), needs.maxY + 1);
    return needs;
}

double overviewFactor(GDALDataset &source, int level)
{
    GDALRasterBand *band = source.GetRasterBand(1);
    return level < 0 ? 1.0 : double(source.GetRasterXSize()) / band->GetOverview(level)->GetXSize();
}

// The overview gdalwarp itself would take: the coarsest that is still at least as fine as
// the cut, or one within a tenth of its resolution. -1 is the full resolution.
int overviewLevel(GDALDataset &source, double cutStep)
{
    const int count = source.GetRasterBand(1)->GetOverviewCount();
    if (cutStep <= 1 || count == 0)
        return -1;
    int level = -1;
    for (; level < count - 1; ++level) {
        const double here = overviewFactor(source, level);
        if (here < cutStep && overviewFactor(source, level + 1) > cutStep)
            break;
        if (std::abs(here - cutStep) < 0.1)
            break;
    }
    return level;
}

// A paletted source is warped as the colours its indices stand for, not as the indices.
GDALDatasetUniquePtr expandedPalette(GDALDataset *source)
{
    const char *const arguments[] = {"-of", "VRT", "-expand", "rgba", nullptr};
    GDALTranslateOptions *options =
        GDALTranslateOptionsNew(const_cast<char **>(arguments), nullptr);
    GDALDatasetUniquePtr expanded(GDALDataset::FromHandle(
        GDALTranslate("", GDALDataset::ToHandle(source), options, nullptr)));
    GDALTranslateOptionsFree(options);
    return expanded;
}

struct Bands
{
    int colour[3];
    int alpha;
};

Bands bandsOf(GDALDataset &source)
{
    const int count = source.GetRasterCount();
    Bands bands = count >= 3 ? Bands{{1, 2, 3}, 0} : Bands{{1, 1, 1}, 0};
    for (int b = 1; b <= count; ++b) {
        switch (source.GetRasterBand(b)->GetColorInterpretation()) {
        case GCI_RedBand:
            bands.colour[0] = b;
            break;
        case GCI_GreenBand:
            bands.colour[1] = b;
            break;
        case GCI_BlueBand:
            bands.colour[2] = b;
            break;
        case GCI_AlphaBand:
            bands.alpha = b;
            break;
        default:
            break;
        }
    }
    return bands;
}

// The warp's progress asks whether the cut is still wanted, and remembers the answer.
struct Wanted
{
    const std::function<bool()> &cancelled;
    bool stopped = false;
};

int progress(double, const char *, void *wanted)
{
    auto &w = *static_cast<Wanted *>(wanted);
    w.stopped = w.stopped || (w.cancelled && w.cancelled());
    return w.stopped ? FALSE : TRUE;
}

bool warp(GDALDataset *source, GDALDataset *cut, void *transformer, Wanted &wanted)
{
    const Bands bands = bandsOf(*source);
    GDALWarpOptions *options = GDALCreateWarpOptions();
    options->hSrcDS = GDALDataset::ToHandle(source);
    options->hDstDS = GDALDataset::ToHandle(cut);
    options->nBandCount = 3;
    options->panSrcBands = static_cast<int *>(CPLMalloc(3 * sizeof(int)));
    options->panDstBands = static_cast<int *>(CPLMalloc(3 * sizeof(int)));
    int hasNoData = FALSE;
    source->GetRasterBand(bands.colour[0])->GetNoDataValue(&hasNoData);
    if (hasNoData)
        options->padfSrcNoDataReal = static_cast<double *>(CPLMalloc(3 * sizeof(double)));
    for (int i = 0; i < 3; ++i) {
        options->panSrcBands[i] = bands.colour[i];
        options->panDstBands[i] = i + 1;
        if (hasNoData)
            options->padfSrcNoDataReal[i] =
                source->GetRasterBand(bands.colour[i])->GetNoDataValue();
    }
    options->nSrcAlphaBand = bands.alpha;
    options->nDstAlphaBand = 4;
    options->eResampleAlg = GRA_Bilinear;
    options->pfnTransformer = GDALApproxTransform;
    options->pTransformerArg = transformer;
    options->pfnProgress = progress;
    options->pProgressArg = &wanted;
    options->papszWarpOptions = CSLSetNameValue(options->papszWarpOptions, "INIT_DEST", "0");

    GDALWarpOperation operation;
    const bool done = operation.Initialize(options) == CE_None
                      && operation.ChunkAndWarpImage(0, 0, cutSize, cutSize) == CE_None;
    GDALDestroyWarpOptions(options);
    return done;
}

// Metres on the ground of one cut pixel, as the geometric mean of its two sides.
double cutMetresPerPixel(const GeoBounds &area)
{
    const double metresPerDegree = earthRadius * std::numbers::pi / 180;
    const double latitude = (area.north + area.south) / 2 * std::numbers::pi / 180;
    const double across = lod::areaWidth / lod::areaPitch * metresPerDegree * std::cos(latitude);
    const double down = lod::areaHeight / lod::areaPitch * metresPerDegree;
    return std::sqrt(across * down);
}

AreaCut failed(const QString &reason)
{
    AreaCut cut;
    cut.failure = reason;
    return cut;
}

// Reading fails part way only where the file is cut short or garbled; GDAL's own words
// about it help no one who is not reading TIFF tags.
AreaCut unreadable(const QString &path)
{
    return failed(damagedText(path));
}

// The share of the area's pixels the source covers, partly covered ones in part.
double coveredShare(const QImage &rgba)
{
    double alpha = 0;
    for (int row = 0; row < cutSize; ++row) {
        const uchar *line = rgba.constScanLine(row);
        for (int column = 0; column < cutSize; ++column)
            alpha += line[4 * column + 3];
    }
    return alpha / (255.0 * cutSize * cutSize);
}

QString metres(double value)
{
    return QString::number(value, 'f', value < 1 ? 2 : value < 10 ? 1 : 0);
}

} // namespace

AreaCut cutArea(const QString &path, const GridPlace &place, const std::function<bool()> &cancelled)
{
    const QString name = fileName(path);
    // Asked between the steps, so that a cut no longer wanted does no more work; it never
    // ends with an image.
    const auto stopped = [&] { return cancelled && cancelled(); };
    const auto stop = [&] {
        AreaCut cut = failed(QStringLiteral("The cut of %1 was stopped.").arg(name));
        cut.stopped = true;
        return cut;
    };
    if (stopped())
        return stop();
    GeoRaster raster = openGeoRaster(path);
    if (stopped())
        return stop();
    if (raster.kind != ImageProbe::Georeferenced)
        return failed(!raster.reason.isEmpty()
                          ? raster.reason
                          : QStringLiteral("%1 holds no georeferencing.").arg(name));
    QString doesNotReach = QStringLiteral("%1 does not reach area %2, %3 of cell %4, %5")
                               .arg(name)
                               .arg(place.areaColumn)
                               .arg(place.areaRow)
                               .arg(place.cellColumn)
                               .arg(place.cellRow);
    // A guessed coordinate system is the likeliest reason; say which, and how to name the
    // right one.
    if (raster.crsOrigin == CrsOrigin::AssumedDegrees
        || raster.crsOrigin == CrsOrigin::AssumedWebMercator)
        doesNotReach +=
            QStringLiteral(" in %1, the coordinate system assumed for a world file "
                           "in %2: if it is in another one, put a .prj file naming "
                           "it beside %3")
                .arg(crsDisplayName(raster.crs),
                     raster.crsOrigin == CrsOrigin::AssumedDegrees ? QStringLiteral("degrees")
                                                                   : QStringLiteral("metres"),
                     name);
    doesNotReach += u'.';

    const GeoBounds area = areaBounds(place);
    GDALDriver *memory = GetGDALDriverManager()->GetDriverByName("MEM");
    if (!memory)
        return failed(QStringLiteral("This GDAL has no in-memory driver (MEM), so no area can "
                                     "be cut."));
    CPLErrorReset();
    GDALDatasetUniquePtr cut(memory->Create("", cutSize, cutSize, 4, GDT_Byte, nullptr));
    std::array<double, 6> gt = cutGeotransform(area);
    if (!cut || cut->SetGeoTransform(gt.data()) != CE_None)
        return failed(fullSentence(QStringLiteral("No room in memory for the cut of %1: %2")
                                       .arg(name, lastGdalError().isEmpty()
                                                      ? QStringLiteral("GDAL gave no reason")
                                                      : lastGdalError())));

    GDALDataset *source = raster.dataset.get();
    Transformer transformer = makeTransformer(source, cut.get(), raster.crs);
    if (!transformer)
        return failed(QStringLiteral("%1 cannot be turned into latitude and longitude.").arg(name));
    const int width = source->GetRasterXSize(), height = source->GetRasterYSize();
    const SourceNeeds needs = sourceNeeds(transformer.get(), width, height);
    if (!needs.reaches(width, height) || needs.pixelArea <= 0)
        return failed(doesNotReach);

    const int level = overviewLevel(*source, std::min(needs.stepX, needs.stepY));
    const double factor = overviewFactor(*source, level);
    const double window = (needs.maxX - needs.minX) * (needs.maxY - needs.minY) / (factor * factor);
    if (window > mostSourcePixels)
        return failed(QStringLiteral("%1 would need %2 million pixels read for one area: give it "
                                     "overviews (gdaladdo) or cut it smaller.")
                          .arg(name)
                          .arg(std::ceil(window / 1e6), 0, 'f', 0));

    GDALDatasetUniquePtr overview, expanded;
    if (level >= 0) {
        overview = openOverview(path, level);
        if (!overview)
            return unreadable(path);
        source = overview.get();
    }
    if (source->GetRasterBand(1)->GetColorInterpretation() == GCI_PaletteIndex) {
        expanded = expandedPalette(source);
        if (!expanded)
            return unreadable(path);
        source = expanded.get();
    }
    if (source != raster.dataset.get())
        transformer = makeTransformer(source, cut.get(), raster.crs);

    if (stopped())
        return stop();
    CPLErrorReset();
    Wanted wanted{cancelled};
    if (!transformer || !warp(source, cut.get(), transformer.get(), wanted))
        return wanted.stopped ? stop() : unreadable(path);
    // GDAL may finish a warp whose last progress call said stop.
    if (wanted.stopped || stopped())
        return stop();

    QImage image(cutSize, cutSize, QImage::Format_RGBA8888);
    if (cut->RasterIO(GF_Read, 0, 0, cutSize, cutSize, image.bits(), cutSize, cutSize, GDT_Byte, 4,
                      nullptr, 4, image.bytesPerLine(), 1, nullptr)
        != CE_None)
        return unreadable(path);
    const double share = coveredShare(image);
    if (share == 0)
        return failed(doesNotReach);

    AreaCut result;
    result.image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    result.crsName = crsDisplayName(raster.crs);
    result.crsOrigin = raster.crsOrigin;
    result.cutMetresPerPixel = cutMetresPerPixel(area);
    result.sourceMetresPerPixel = result.cutMetresPerPixel / std::sqrt(needs.pixelArea);
    result.coveredShare = share;
    return result;
}

QString cutSummary(const QString &path, const AreaCut &cut)
{
    QString crs = cut.crsName;
    switch (cut.crsOrigin) {
    case CrsOrigin::File:
        break;
    case CrsOrigin::ProjectionFile:
        crs += QStringLiteral(" from its .prj");
        break;
    case CrsOrigin::AssumedDegrees:
        crs += QStringLiteral(", assumed for a world file in degrees");
        break;
    case CrsOrigin::AssumedWebMercator:
        crs += QStringLiteral(", assumed for a world file in metres");
        break;
    }
    const int percent =
        cut.coveredShare >= 1 ? 100 : std::clamp(int(cut.coveredShare * 100), 1, 99);
    const QString cover = percent == 100
                              ? QStringLiteral("covers 100 %")
                              : QStringLiteral("covers %1 %: the rest is grey").arg(percent);
    return QStringLiteral("%1 in %2: %3 m per pixel, cut at %4 m per pixel; %5.")
        .arg(QFileInfo(path).fileName(), crs, metres(cut.sourceMetresPerPixel),
             metres(cut.cutMetresPerPixel), cover);
}
