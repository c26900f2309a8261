// The areas job over a generated block of water polygons, against a baseline that makes the
// same cut the plain way: one OGR_G_Intersection() per polygon and area its envelope touches,
// in one pass over the file, with nothing else done.
#include "areas/area_job.h"
#include "grid/grid_constants.h"
#include "imagery/gdal_setup.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <gdal_priv.h>
#include <ogr_api.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <random>

namespace {

// Lakes and ponds as OSM draws them: many small, a few large, shores jagged at every scale,
// none over another, one in ten with islands.
// The block's west and north edges lie on area edges, as any block's would by chance.
constexpr double blockWest = -122.5, blockNorth = 48.0;

QString blockFile(double degrees, qint64 vertices)
{
    static std::map<std::pair<double, qint64>, QString> made;
    static QTemporaryDir folder;
    auto &path = made[{degrees, vertices}];
    if (!path.isEmpty())
        return path;
    path = folder.filePath(QStringLiteral("water_%1_%2.shp").arg(degrees).arg(vertices));
    setUpGdal();
    GDALDriver *driver = GetGDALDriverManager()->GetDriverByName("ESRI Shapefile");
    GDALDatasetUniquePtr ds(
        driver->Create(path.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr));
    OGRSpatialReference wgs84;
    wgs84.importFromEPSG(4326);
    OGRLayer *layer = ds->CreateLayer("water", &wgs84, wkbPolygon, nullptr);

    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0, 1);
    // Radii in areas, log-uniform from a pond of 25 pixels to a lake of 2 areas, the largest
    // placed first; like OSM's water polygons they never overlap, and they cover about a third
    // of the block. Vertices grow with the shore, about 1 000 a lake.
    const int lakes = int(std::max<qint64>(vertices / 1000, 1));
    std::vector<double> radii(std::size_t(lakes), 0.0);
    double shore = 0;
    for (double &r : radii) {
        r = 0.1 * std::pow(2.0 / 0.1, unit(random));
        shore += r;
    }
    std::sort(radii.begin(), radii.end(), std::greater<>());
    std::vector<std::pair<double, double>> placed; // centres in areas from the block's corner
    const double span = degrees / lod::areaWidth, height = degrees / lod::areaHeight;
    qint64 left = vertices;
    for (int i = 0; i < lakes; ++i) {
        double r = radii[std::size_t(i)];
        const int n = i + 1 == lakes ? int(std::max<qint64>(left, 8))
                                     : std::max(8, int(double(vertices) * r / shore));
        left -= n;
        double cx = 0, cy = 0;
        for (int attempt = 0;; ++attempt) {
            if (attempt % 50 == 49)
                r *= 0.8;
            cx = 1.4 * r + unit(random) * (span - 2.8 * r);
            cy = 1.4 * r + unit(random) * (height - 2.8 * r);
            bool free = true;
            for (std::size_t j = 0; j < placed.size() && free; ++j)
                free =
                    std::hypot(cx - placed[j].first, cy - placed[j].second) > 1.4 * (r + radii[j]);
            if (free)
                break;
        }
        radii[std::size_t(i)] = r;
        placed.emplace_back(cx, cy);
        const double x = blockWest + cx * lod::areaWidth, y = blockNorth - cy * lod::areaHeight;
        double phase[3] = {unit(random) * 6.3, unit(random) * 6.3, unit(random) * 6.3};
        auto *ring = new OGRLinearRing;
        for (int k = 0; k <= n; ++k) {
            const double a = 2 * std::numbers::pi * (k % n) / n;
            // Star-shaped around the centre, so the ring never crosses itself.
            const double wobble = 1 + 0.2 * std::sin(3 * a + phase[0])
                                  + 0.1 * std::sin(11 * a + phase[1])
                                  + 0.05 * std::sin(37 * a + phase[2]);
            ring->addPoint(x + r * wobble * lod::areaWidth * std::cos(a),
                           y + r * wobble * lod::areaHeight * std::sin(a));
        }
        auto *polygon = new OGRPolygon;
        polygon->addRingDirectly(ring);
        // One lake in ten has 1 to 5 islands, on a circle well inside its shore (the wobble
        // takes the shore in to 0.65 r), each a tenth of the lake's vertices.
        if (i % 10 == 0) {
            const int islands = 1 + int(unit(random) * 5);
            for (int h = 0; h < islands; ++h) {
                const double at = 2 * std::numbers::pi * (h + 0.5 * unit(random)) / islands;
                const double ir = 0.1 * r, ix = x + 0.35 * r * lod::areaWidth * std::cos(at),
                             iy = y + 0.35 * r * lod::areaHeight * std::sin(at);
                const int m = std::max(8, n / 10);
                auto *island = new OGRLinearRing;
                for (int k = 0; k <= m; ++k) {
                    const double a = 2 * std::numbers::pi * (k % m) / m;
                    island->addPoint(ix + ir * lod::areaWidth * std::cos(a),
                                     iy + ir * lod::areaHeight * std::sin(a));
                }
                polygon->addRingDirectly(island);
            }
        }
        OGRFeatureUniquePtr f(OGRFeature::CreateFeature(layer->GetLayerDefn()));
        f->SetGeometryDirectly(polygon);
        layer->CreateFeature(f.get());
    }
    return path;
}

struct Block
{
    double degrees;
    qint64 vertices;
};
// The full block, and a quarter and a sixteenth of it at the same density.
const Block blocks[] = {{1.0, 1'000'000}, {0.5, 250'000}, {0.25, 62'500}};

void BM_AreasJob(benchmark::State &state)
{
    const Block b = blocks[state.range(0)];
    const QString path = blockFile(b.degrees, b.vertices);
    QTemporaryDir out;
    AreasRequest request;
    request.shapePath = path;
    request.outputFolder = out.path();
    qsizetype files = 0;
    for (auto _ : state) {
        const AreasOutcome outcome = writeAreas(request);
        if (outcome.result != AreasOutcome::Result::Written)
            state.SkipWithError(outcome.text.toUtf8().constData());
        files = QDir(out.path()).entryList(QDir::Files).size();
    }
    state.counters["files"] = double(files);
    state.counters["vertices"] = double(b.vertices);
}
BENCHMARK(BM_AreasJob)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

// The same without writing: what the cut and the texts cost apart from the file system.
void BM_AreasPlan(benchmark::State &state)
{
    const Block b = blocks[state.range(0)];
    AreasRequest request;
    request.shapePath = blockFile(b.degrees, b.vertices);
    std::size_t files = 0;
    for (auto _ : state)
        files = planAreas(request).files.size();
    state.counters["files"] = double(files);
}
BENCHMARK(BM_AreasPlan)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

void BM_IntersectionBaseline(benchmark::State &state)
{
    const Block b = blocks[state.range(0)];
    const QString path = blockFile(b.degrees, b.vertices);
    qint64 cuts = 0;
    for (auto _ : state) {
        cuts = 0;
        GDALDatasetH ds =
            GDALOpenEx(path.toUtf8().constData(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
        OGRLayerH layer = GDALDatasetGetLayer(ds, 0);
        OGR_L_ResetReading(layer);
        while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
            OGRGeometryH g = OGR_F_GetGeometryRef(feature);
            OGREnvelope e;
            OGR_G_GetEnvelope(g, &e);
            const int west = int(std::floor((e.MinX + 180) / lod::areaWidth));
            const int east = int(std::ceil((e.MaxX + 180) / lod::areaWidth)) - 1;
            const int north = int(std::floor((90 - e.MaxY) / lod::areaHeight));
            const int south = int(std::ceil((90 - e.MinY) / lod::areaHeight)) - 1;
            for (int column = west; column <= east; ++column) {
                for (int row = north; row <= south; ++row) {
                    const double x0 = -180 + column * lod::areaWidth;
                    const double x1 = -180 + (column + 1) * lod::areaWidth;
                    const double y0 = 90 - row * lod::areaHeight;
                    const double y1 = 90 - (row + 1) * lod::areaHeight;
                    OGRGeometryH ring = OGR_G_CreateGeometry(wkbLinearRing);
                    OGR_G_AddPoint_2D(ring, x0, y0);
                    OGR_G_AddPoint_2D(ring, x1, y0);
                    OGR_G_AddPoint_2D(ring, x1, y1);
                    OGR_G_AddPoint_2D(ring, x0, y1);
                    OGR_G_AddPoint_2D(ring, x0, y0);
                    OGRGeometryH box = OGR_G_CreateGeometry(wkbPolygon);
                    OGR_G_AddGeometryDirectly(box, ring);
                    OGRGeometryH cut = OGR_G_Intersection(g, box);
                    benchmark::DoNotOptimize(cut);
                    cuts += cut != nullptr;
                    OGR_G_DestroyGeometry(cut);
                    OGR_G_DestroyGeometry(box);
                }
            }
            OGR_F_Destroy(feature);
        }
        GDALClose(ds);
    }
    state.counters["cuts"] = double(cuts);
}
BENCHMARK(BM_IntersectionBaseline)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace
