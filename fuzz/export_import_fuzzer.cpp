// The shapes exported in each format and imported again: the polygon's vertices come back
// within half a pixel (and so as the very LWM entries they were), none off the globe or
// outside the area, whatever the grid place and whatever the property texts hold (line
// breaks and other control characters included); and reading writes nothing beside the file.
#include "canvas/point_capture.h"
#include "exchange/shape_export.h"
#include "exchange/shape_reader.h"
#include "exchange/vertex_presses.h"
#include "fuzz_support.h"
#include "grid/grid_constants.h"

#include <QDir>
#include <QFile>

namespace {
void noFailure(const QString &failure)
{
    if (!failure.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(failure));
    FUZZ_CHECK(failure.isEmpty());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    static const QDir dir(fuzzFolder("export_import-files"));
    for (const QString &left : QDir(dir.path()).entryList(QDir::Files))
        QFile::remove(dir.filePath(left));
    FuzzedDataProvider data(bytes, size);
    const GridPlace place{data.ConsumeIntegralInRange(0, lod::lastCellColumn),
                          data.ConsumeIntegralInRange(0, lod::lastCellRow),
                          data.ConsumeIntegralInRange(0, lod::lastArea),
                          data.ConsumeIntegralInRange(0, lod::lastArea)};
    const auto format = ShapeFormat(data.ConsumeIntegralInRange(0, 2));
    ShapeTexts texts;
    texts.altitude = fuzzText(data, 16);
    texts.lineType = fuzzText(data, 16);
    texts.layer = fuzzText(data, 4);
    const int corners = data.ConsumeIntegralInRange(3, 40);
    std::vector<ImagePosition> pixels;
    for (int i = 0; i < corners; ++i) {
        const int x = data.ConsumeIntegralInRange(0, lod::lastPixel);
        const int y = data.ConsumeIntegralInRange(0, lod::lastPixel);
        pixels.push_back({double(x), double(y)});
        texts.lwmEntries << QStringLiteral("LWMPoint %1, %2").arg(x).arg(y);
        texts.vtpEntries
            << QStringLiteral("VTPWidePoint %1, 0, %2, 0")
                   .arg(data.ConsumeIntegralInRange(lod::gridOrigin, lod::lastGridPoint))
                   .arg(data.ConsumeIntegralInRange(lod::gridOrigin, lod::lastGridPoint))
            << QStringLiteral("VTPWidePointWidth ") + fuzzText(data, 4);
    }

    static const char *const names[] = {"f.geojson", "f.kml", "f.gpx"};
    const ExportTarget target{dir.filePath(QLatin1String(names[int(format)])), format};
    const QString failure = writeShapes(target, exportShapes(place, texts));
    noFailure(failure);
    const ShapeListing listing = listShapes(target.path);
    noFailure(listing.failure);
    const ShapeCandidate *polygon = nullptr;
    for (const ShapeCandidate &c : listing.candidates) {
        if (c.name == QStringLiteral("LWM polygon"))
            polygon = &c;
    }
    FUZZ_CHECK(polygon);
    const ShapeVertices shape = readShape(target.path, *polygon);
    noFailure(shape.failure);
    const VertexPresses presses = vertexPresses(place, shape.vertices);
    FUZZ_CHECK(presses.skipped == 0 && presses.outsideArea == 0);

    // A GPX route goes round to its first vertex again.
    if (format == ShapeFormat::Gpx)
        pixels.push_back(pixels.front());
    FUZZ_CHECK(presses.positions.size() == pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        FUZZ_CHECK(std::abs(presses.positions[i].x - pixels[i].x) < 0.5);
        FUZZ_CHECK(std::abs(presses.positions[i].y - pixels[i].y) < 0.5);
    }
    QStringList expected = texts.lwmEntries;
    if (format == ShapeFormat::Gpx)
        expected << expected.first();
    const double ax = place.areaColumn, ay = place.areaRow;
    FUZZ_CHECK(captureRun(presses.positions, ax, ay, {}, {}, 0, 0).lwmEntries == expected);
    FUZZ_CHECK(QDir(dir.path()).entryList(QDir::Files)
               == QStringList{target.path.section(u'/', -1)});
    return 0;
}
