// Random polygons, crossing themselves or not, cut into the areas they cover. Every pressed
// pixel lies within a pixel of the polygon's shore or on the area's edge, and parts come out
// for exactly the areas where a plain per-area intersection leaves a polygon of three pixels.
#include "areas/area_files.h"
#include "areas/polygon_parts.h"
#include "fuzz_support.h"
#include "grid/grid_constants.h"

#include <ogr_geometry.h>

#include <cmath>
#include <memory>
#include <optional>
#include <set>

namespace {

using Area = std::pair<int, int>; // global column, row

// The vertices are given in pixels of a home area, so that the polygon spans a few areas
// around it, sometimes across a cell edge.
const GridPlace home{123, 120, 30, 30};

GeoPoint degreesOf(double x, double y)
{
    const GeoBounds b = areaBounds(home);
    return {b.north - y * lod::areaHeight / lod::areaPitch,
            b.west + x * lod::areaWidth / lod::areaPitch};
}

Area globalArea(const GridPlace &p)
{
    return {p.cellColumn * lod::areasPerCell + p.areaColumn,
            p.cellRow * lod::areasPerCell + p.areaRow};
}

// The part's pixel as a position in pixels of the home area.
OGRPoint homePixel(const GridPlace &place, const ImagePosition &p)
{
    const Area a = globalArea(place), h = globalArea(home);
    return OGRPoint(p.x + lod::areaPitch * (a.first - h.first),
                    p.y + lod::areaPitch * (a.second - h.second));
}

std::unique_ptr<OGRGeometry> valid(const OGRGeometry &g)
{
    if (g.IsValid())
        return std::unique_ptr<OGRGeometry>(g.clone());
    return std::unique_ptr<OGRGeometry>(g.MakeValid());
}

// Where a plain intersection with each area leaves a polygon of three distinct pixels; nothing
// when the overlay gives up on a nearly degenerate shape (a side location conflict), which the
// rectangle clipping under test does not.
std::optional<std::set<Area>> areasWithParts(const OGRGeometry &g)
{
    std::set<Area> out;
    OGREnvelope e;
    g.getEnvelope(&e);
    const GridPlace nw = placeOf({e.MaxY, e.MinX}), se = placeOf({e.MinY, e.MaxX});
    for (int c = globalArea(nw).first; c <= globalArea(se).first; ++c) {
        for (int r = globalArea(nw).second; r <= globalArea(se).second; ++r) {
            const GridPlace place = placeOfGlobalArea(c, r);
            const GeoBounds b = areaBounds(place);
            OGRLinearRing ring;
            ring.addPoint(b.west, b.north);
            ring.addPoint(b.east, b.north);
            ring.addPoint(b.east, b.south);
            ring.addPoint(b.west, b.south);
            ring.addPoint(b.west, b.north);
            OGRPolygon box;
            box.addRing(&ring);
            const std::unique_ptr<OGRGeometry> cut(g.Intersection(&box));
            if (!cut)
                return std::nullopt;
            const auto check = [&](const OGRGeometry *member) {
                auto *p = dynamic_cast<const OGRPolygon *>(member);
                if (p && !p->IsEmpty() && p->get_Area() > leastPartArea
                    && distinctAtLeast(ringPixels(place, *p->getExteriorRing()), 3))
                    out.insert({c, r});
            };
            if (auto *collection = dynamic_cast<const OGRGeometryCollection *>(cut.get())) {
                for (const OGRGeometry *member : *collection)
                    check(member);
            } else {
                check(cut.get());
            }
        }
    }
    return out;
}

} // namespace

// GEOS 3.11's rectangle clipping drops a ring it builds while reconnecting a polygon that
// touches a clip edge in some degenerate ways: the ring is a direct leak, held by nothing it
// hands back, and every geometry it hands back is freed here. The suppression needs the whole
// stack, which the fast unwinder cannot walk through GEOS.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:RectangleIntersectionBuilder::reconnectPolygons\n";
}

extern "C" const char *__asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    // Few enough vertices that no part, with the points where it meets edges and itself, goes
    // above the point limit: halving would add cut lines inside the area.
    const int n = data.ConsumeIntegralInRange(3, 12);
    OGRLinearRing ring, shoreInPixels;
    for (int i = 0; i < n; ++i) {
        const double x = data.ConsumeFloatingPointInRange(-300.0, 560.0);
        const double y = data.ConsumeFloatingPointInRange(-300.0, 560.0);
        const GeoPoint g = degreesOf(x, y);
        ring.addPoint(g.longitude, g.latitude);
        shoreInPixels.addPoint(x, y);
    }
    ring.closeRings();
    shoreInPixels.closeRings();
    OGRPolygon polygon;
    polygon.addRing(&ring);
    const std::unique_ptr<OGRGeometry> shape = valid(polygon);
    if (!shape)
        return 0;

    PolygonTally tally;
    std::set<Area> written;
    polygonAreaParts(*shape, tally, [&](AreaPart &&part) {
        FUZZ_CHECK(part.pixels.size() <= std::size_t(partPointLimit));
        FUZZ_CHECK(distinctAtLeast(part.pixels, 3));
        written.insert(globalArea(part.place));
        for (const ImagePosition &p : part.pixels) {
            FUZZ_CHECK(p.x >= 0 && p.x <= lod::lastPixel && p.y >= 0 && p.y <= lod::lastPixel);
            const bool onEdge =
                p.x == 0 || p.y == 0 || p.x == lod::lastPixel || p.y == lod::lastPixel;
            const OGRPoint at = homePixel(part.place, p);
            FUZZ_CHECK(onEdge || shoreInPixels.Distance(&at) <= 1.0);
        }
    });
    FUZZ_CHECK(tally.tooManyPoints == 0);
    const std::optional<std::set<Area>> expected = areasWithParts(*shape);
    if (tally.unclipped == 0 && expected)
        FUZZ_CHECK(written == *expected);
    return 0;
}
