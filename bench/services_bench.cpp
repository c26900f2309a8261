// An area from a tile service: from a warm cache against the cut of the same pixels from a
// local GeoTIFF, and cold from a loopback server that takes 100 ms a tile. The tiles are London's
// at zoom 15, made as the tests make them.
#include "imagery/area_cut.h"
#include "imagery/gdal_setup.h"
#include "mercator_tiles.h"
#include "services/area_fetcher.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

const GridPlace london{383, 109, 23, 15};

// The six tiles under London's area, and nothing else.
const MercatorTiles &londonTiles()
{
    static const MercatorTiles tiles(15, 16371, 10895, 3, 2);
    return tiles;
}

ImageryService loopback(const TileServer &server)
{
    return *makeService(QStringLiteral("Loopback"), server.address() + "/{z}/{x}/{y}.png").service;
}

ServiceCut fetchedArea(AreaFetcher &fetcher, const ImageryService &service)
{
    ServiceCut result;
    QEventLoop loop;
    const auto connection =
        QObject::connect(&fetcher, &AreaFetcher::finished, &loop, [&](const ServiceCut &cut) {
            result = cut;
            loop.quit();
        });
    fetcher.fetch(service, london);
    loop.exec();
    QObject::disconnect(connection);
    return result;
}

void BM_CutFromGeoTiff(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("london.tif"));
    londonTiles().writeGeoTiff(path);
    AreaCut cut;
    for (auto _ : state) {
        cut = cutArea(path, london);
        benchmark::DoNotOptimize(cut.image.constBits());
    }
    if (!cut.ok())
        state.SkipWithError(cut.failure.toUtf8().constData());
}

void BM_CutFromWarmCache(benchmark::State &state)
{
    QTemporaryDir folder;
    TileServer server([](const QString &path) { return londonTiles().answer(path); });
    AreaFetcher fetcher({folder.path(), 15000, 2});
    const ImageryService service = loopback(server);
    fetchedArea(fetcher, service);
    ServiceCut cut;
    for (auto _ : state)
        cut = fetchedArea(fetcher, service);
    if (!cut.ok() || cut.fromCache != cut.tiles)
        state.SkipWithError("not from the cache");
}

// Time to picture with a new cache each run; the server holds each tile 100 ms.
void BM_ColdFetch(benchmark::State &state)
{
    TileServer server([](const QString &path) {
        ServedAnswer answer = londonTiles().answer(path);
        answer.delayMs = 100;
        return answer;
    });
    const ImageryService service = loopback(server);
    ServiceCut cut;
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<QTemporaryDir>();
        auto fetcher = std::make_unique<AreaFetcher>(FetchSettings{folder->path(), 15000, 2});
        state.ResumeTiming();
        cut = fetchedArea(*fetcher, service);
        state.PauseTiming();
        fetcher.reset();
        folder.reset();
        state.ResumeTiming();
    }
    if (!cut.ok() || cut.fromCache != 0)
        state.SkipWithError("the cold fetch failed");
    state.counters["tiles"] = cut.tiles;
}

BENCHMARK(BM_CutFromGeoTiff)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CutFromWarmCache)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ColdFetch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setUpGdal();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
