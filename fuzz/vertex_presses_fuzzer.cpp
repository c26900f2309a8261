// Imported vertices, any doubles, as presses: a vertex off the globe is skipped, every other
// one is pressed without a run-time error, within half a pixel of where it lies when it lies
// in the area and within half a grid step when in the cell, and the counts of vertices
// outside the area and the cell agree with what the presses did.
#include "canvas/point_capture.h"
#include "exchange/vertex_presses.h"
#include "fuzz_support.h"
#include "grid/grid_constants.h"

#include <cstring>

namespace {

double coordinate(FuzzedDataProvider &data, double range)
{
    if (data.ConsumeBool())
        return data.ConsumeFloatingPointInRange<double>(-range, range);
    const std::uint64_t bits = data.ConsumeIntegral<std::uint64_t>();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

bool onGlobe(const GeoPoint &v)
{
    return std::isfinite(v.latitude) && std::isfinite(v.longitude) && std::abs(v.latitude) <= 90
           && std::abs(v.longitude) <= 360;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const GridPlace place{data.ConsumeIntegralInRange(0, lod::lastCellColumn),
                          data.ConsumeIntegralInRange(0, lod::lastCellRow),
                          data.ConsumeIntegralInRange(0, lod::lastArea),
                          data.ConsumeIntegralInRange(0, lod::lastArea)};
    const QString counter = fuzzText(data, 8), width = fuzzText(data, 8);
    const GeoBounds area = areaBounds(place);
    std::vector<GeoPoint> vertices;
    const int count = data.ConsumeIntegralInRange(0, 64);
    for (int i = 0; i < count; ++i) {
        // Mostly near the area, sometimes anywhere at all.
        const double spread = data.ConsumeBool() ? 0.05 : 400;
        vertices.push_back(
            {area.north + coordinate(data, spread), area.west + coordinate(data, spread)});
    }

    const VertexPresses presses = vertexPresses(place, vertices);
    std::size_t onTheGlobe = 0;
    for (const GeoPoint &v : vertices)
        onTheGlobe += onGlobe(v);
    FUZZ_CHECK(presses.positions.size() == onTheGlobe);
    FUZZ_CHECK(qsizetype(vertices.size()) == qsizetype(onTheGlobe) + presses.skipped);
    if (presses.positions.empty())
        return 0;

    const double ax = place.areaColumn, ay = place.areaRow;
    CaptureRun run;
    try {
        run = captureRun(presses.positions, ax, ay, counter, width, 0, 0);
    } catch (const RuntimeError &) {
        FUZZ_CHECK(!"a vertex pressed beyond 16 bits");
    }
    FUZZ_CHECK(run.lwmEntries.size() == qsizetype(presses.positions.size()));

    qsizetype outsideArea = 0, outsideCell = 0;
    std::size_t pressed = 0;
    for (const GeoPoint &v : vertices) {
        if (!onGlobe(v))
            continue;
        const ImagePosition p = presses.positions[pressed];
        const CursorReadouts r = mapPixelToGrid({p, ax, ay}, 0);
        FUZZ_CHECK(run.lwmEntries[qsizetype(pressed++)] == "LWMPoint " + r.lblx + r.lbly);
        const int px = r.lblx.section(u',', 0, 0).toInt(), py = r.lbly.toInt();
        const int gx = r.lblvtp2x.section(u',', 0, 0).toInt();
        const int gy = r.lblvtp2y.section(u',', 0, 0).toInt();
        const bool inArea = std::abs(px - p.x) <= 0.5 && std::abs(py - p.y) <= 0.5;
        const double areaX = lod::gridOrigin + lod::areaPitch * place.areaColumn;
        const double areaY = lod::gridOrigin + lod::areaPitch * place.areaRow;
        const bool inCell =
            std::abs(gx - (areaX + p.x)) <= 0.5 && std::abs(gy - (areaY + p.y)) <= 0.5;
        outsideArea += !inArea;
        outsideCell += !inCell;
        // The grid of a cell is one point short of its 32 areas: the last pixel of its last
        // area column or row is the next cell's first grid point, outside this one.
        const bool farEdge = (place.areaColumn == lod::lastArea && px == lod::lastPixel)
                             || (place.areaRow == lod::lastArea && py == lod::lastPixel);
        FUZZ_CHECK(inCell || !inArea || farEdge);
        if (inArea) {
            // The pixel pressed is the one that holds the vertex.
            const GeoPoint back = pixelGeoPoint(place, {double(px), double(py)});
            const double halfHeight = 0.5000001 * lod::areaHeight / lod::areaPitch;
            const double halfWidth = 0.5000001 * lod::areaWidth / lod::areaPitch;
            FUZZ_CHECK(std::abs(back.latitude - v.latitude) <= halfHeight);
            FUZZ_CHECK(std::abs(std::remainder(back.longitude - v.longitude, 360)) <= halfWidth);
        }
    }
    FUZZ_CHECK(outsideArea == presses.outsideArea);
    FUZZ_CHECK(outsideCell == presses.outsideCell);
    return 0;
}
