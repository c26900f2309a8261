// Import of a GPX track against the same presses clicked one by one, and export of long
// lists, all through the window's own handlers on the offscreen platform.
#include "grid/geo_bounds.h"
#include "grid/point_geography.h"
#include "ogr_files.h"
#include "session/session.h"
#include "widgets/image_panel.h"
#include "window_support.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int trackVertices = 10000;

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

// The pixel of the i-th press: row after row over the whole image, at pixel centres.
ImagePosition pixel(int i)
{
    return {double(i % 256), double(i / 256 % 256)};
}

GridPlace placeOf(const bench::RealWindow &real)
{
    const auto text = [&](const char *name) { return real.control<QLabel>(name)->text(); };
    return *gridPlaceFromCaptions(text("lblcellx"), text("lblcelly"), text("lblareax"),
                                  text("lblareay"));
}

QString track()
{
    static const QString path = [] {
        bench::RealWindow real;
        const GridPlace place = placeOf(real);
        QByteArray wkt = "MULTILINESTRING ((";
        for (int i = 0; i < trackVertices; ++i) {
            const GeoPoint g = pixelGeoPoint(place, pixel(i));
            wkt += QByteArray::number(g.longitude, 'g', 15) + ' '
                   + QByteArray::number(g.latitude, 'g', 15) + (i + 1 < trackVertices ? "," : "))");
        }
        const QString file = folder().filePath(QStringLiteral("track.gpx"));
        if (!writeVectorFile(file, "GPX", {{wkbMultiLineString, {wkt.constData()}}}))
            qFatal("no track written");
        return file;
    }();
    return path;
}

void BM_ImportTrack(benchmark::State &state)
{
    const QString path = track();
    for (auto _ : state) {
        state.PauseTiming();
        auto real = std::make_unique<bench::RealWindow>();
        real->desktop.fileAnswers.push_back(path);
        state.ResumeTiming();
        real->window->mnuimport_Click();
        state.PauseTiming();
        if (real->lwmList()->count() != trackVertices)
            state.SkipWithError("the import pressed something else");
        real.reset();
        state.ResumeTiming();
    }
}

void BM_PressTrack(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto real = std::make_unique<bench::RealWindow>();
        const QSizeF inner = real->control<ImagePanel>("Picture1")->innerSize();
        state.ResumeTiming();
        for (int i = 0; i < trackVertices; ++i) {
            const ImagePosition p = pixel(i);
            real->window->Picture1_MouseDown(
                QPointF(p.x * inner.width() / 256, p.y * inner.height() / 256));
        }
        state.PauseTiming();
        real.reset();
        state.ResumeTiming();
    }
}

// Export of n LWM entries and n + 4 VTP entries (one start group) in GeoJSON, KML or GPX.
void BM_Export(benchmark::State &state)
{
    static const char *const filters[] = {"GeoJSON (*.geojson *.json)", "KML (*.kml)",
                                          "GPX (*.gpx)"};
    const int n = int(state.range(1));
    bench::RealWindow real;
    std::vector<ImagePosition> pixels;
    for (int i = 0; i < n; ++i)
        pixels.push_back(pixel(i));
    real.window->session().pressPixels(pixels, QStringLiteral("Fill"));
    real.desktop.saveFilterAnswer = QLatin1String(filters[state.range(0)]);
    for (auto _ : state) {
        real.desktop.saveAnswers.push_back(folder().filePath(QStringLiteral("export")));
        real.window->mnuexport_Click();
    }
    if (!real.desktop.messages.empty())
        state.SkipWithError(qPrintable(real.desktop.messages.back().text));
}

BENCHMARK(BM_ImportTrack)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PressTrack)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Export)
    ->ArgsProduct({{0, 1, 2}, {10000, 100000}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    track();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
