// Random polygons, crossing themselves or not, at times with a hole, cut into the areas they
// cover. Every pressed pixel lies within a pixel of the polygon's shore or on the area's
// edge; parts come out for exactly the areas where a plain per-area intersection leaves a
// polygon of three pixels; and each area's polygons, drawn in file order (a later one over
// an earlier one), make water of every pixel inside the input more than 1.5 pixels from its
// shore, and of none outside it or in its hole.
#include "areas/area_files.h"
#include "areas/area_masks.h"
#include "areas/polygon_parts.h"
#include "fuzz_support.h"
#include "grid/grid_constants.h"

#include <ogr_geometry.h>

#include <algorithm>
#include <cmath>
#include <map>
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

// The other way: longitude, latitude to pixels of the home area.
OGRRawPoint pixelsOf(double longitude, double latitude)
{
    const GeoBounds b = areaBounds(home);
    return {(longitude - b.west) * lod::areaPitch / lod::areaWidth,
            (b.north - latitude) * lod::areaPitch / lod::areaHeight};
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

// Every ring of a polygonal shape, as points.
using Ring = std::vector<OGRRawPoint>;
std::vector<Ring> ringsOf(const OGRGeometry &g)
{
    std::vector<Ring> rings;
    const auto add = [&](const OGRPolygon &p) {
        for (const OGRLinearRing *r : p) {
            Ring ring(std::size_t(r->getNumPoints()));
            r->getPoints(ring.data());
            rings.push_back(std::move(ring));
        }
    };
    if (auto *polygon = dynamic_cast<const OGRPolygon *>(&g))
        add(*polygon);
    else if (auto *collection = dynamic_cast<const OGRGeometryCollection *>(&g))
        for (const OGRGeometry *member : *collection)
            if (auto *p = dynamic_cast<const OGRPolygon *>(member))
                add(*p);
    return rings;
}

// Even-odd over a closed ring.
bool insideRing(double x, double y, const Ring &r)
{
    bool in = false;
    for (std::size_t i = 0, j = r.size() - 1; i < r.size(); j = i++) {
        if ((r[i].y > y) != (r[j].y > y)
            && x < (r[j].x - r[i].x) * (y - r[i].y) / (r[j].y - r[i].y) + r[i].x)
            in = !in;
    }
    return in;
}

// Inside a valid polygon, its holes left out.
bool inside(double x, double y, const std::vector<Ring> &rings)
{
    bool in = false;
    for (const Ring &r : rings)
        in = in != insideRing(x, y, r);
    return in;
}

double shoreDistance(double x, double y, const std::vector<Ring> &rings)
{
    double best = INFINITY;
    for (const Ring &r : rings) {
        for (std::size_t i = 1; i < r.size(); ++i) {
            const double dx = r[i].x - r[i - 1].x, dy = r[i].y - r[i - 1].y;
            const double length = dx * dx + dy * dy;
            const double t =
                length > 0
                    ? std::clamp(((x - r[i - 1].x) * dx + (y - r[i - 1].y) * dy) / length, 0.0, 1.0)
                    : 0.0;
            best = std::min(best, std::hypot(x - r[i - 1].x - t * dx, y - r[i - 1].y - t * dy));
        }
    }
    return best;
}

// The polygons of what making valid gave (lines and points where a polygon collapsed left
// out), in degrees, and in the home area's pixels.
struct Shapes
{
    OGRMultiPolygon degrees, pixels;
};

Shapes polygonsOf(const OGRGeometry &valid)
{
    Shapes out;
    const auto add = [&](const OGRPolygon &p) {
        out.degrees.addGeometry(&p);
        OGRPolygon pixels(p);
        for (OGRLinearRing *ring : pixels) {
            for (int i = 0; i < ring->getNumPoints(); ++i) {
                const OGRRawPoint at = pixelsOf(ring->getX(i), ring->getY(i));
                ring->setPoint(i, at.x, at.y);
            }
        }
        out.pixels.addGeometry(&pixels);
    };
    if (auto *polygon = dynamic_cast<const OGRPolygon *>(&valid))
        add(*polygon);
    else if (auto *collection = dynamic_cast<const OGRGeometryCollection *>(&valid))
        for (const OGRGeometry *member : *collection)
            if (auto *p = dynamic_cast<const OGRPolygon *>(member))
                add(*p);
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
    const int holeVertices = data.ConsumeBool() ? data.ConsumeIntegralInRange(3, 6) : 0;
    OGRPolygon polygon;
    OGRLinearRing outer;
    double cx = 0, cy = 0;
    for (int i = 0; i < n; ++i) {
        const double x = data.ConsumeFloatingPointInRange(-300.0, 560.0);
        const double y = data.ConsumeFloatingPointInRange(-300.0, 560.0);
        cx += x / n;
        cy += y / n;
        const GeoPoint g = degreesOf(x, y);
        outer.addPoint(g.longitude, g.latitude);
    }
    outer.closeRings();
    polygon.addRing(&outer);
    // A hole around the middle of the vertices, which often lies inside.
    if (holeVertices > 0) {
        OGRLinearRing hole;
        const double radius = data.ConsumeFloatingPointInRange(2.0, 120.0);
        for (int i = 0; i < holeVertices; ++i) {
            const double a =
                (i + data.ConsumeFloatingPointInRange(0.0, 0.9)) * 2 * M_PI / holeVertices;
            const GeoPoint g = degreesOf(cx + radius * std::cos(a), cy + radius * std::sin(a));
            hole.addPoint(g.longitude, g.latitude);
        }
        hole.closeRings();
        polygon.addRing(&hole);
    }
    const std::unique_ptr<OGRGeometry> made = valid(polygon);
    if (!made)
        return 0;
    const Shapes shapes = polygonsOf(*made);
    if (shapes.pixels.IsEmpty())
        return 0;
    const OGRGeometry *shape = &shapes.degrees;
    const std::vector<Ring> shore = ringsOf(shapes.pixels);

    // Cut as the areas job cuts: every area's polygons in drawing order.
    AreaMasks masks;
    PolygonTally tally;
    masks.add(*shape, LwmFill::Water, tally);
    std::set<Area> written;
    std::map<Area, std::vector<Ring>> drawn;
    std::map<Area, std::vector<LwmFill>> fills;
    masks.forEachArea([&](const GridPlace &place, const std::vector<AreaPolygon> &polygons) {
        const Area area = globalArea(place);
        bool land = false;
        for (const AreaPolygon &part : polygons) {
            FUZZ_CHECK(part.pixels.size() <= std::size_t(partPointLimit));
            FUZZ_CHECK(distinctAtLeast(part.pixels, 3));
            // Water first, then the holes as land.
            FUZZ_CHECK(!land || part.fill == LwmFill::Land);
            land = part.fill == LwmFill::Land;
            if (!land)
                written.insert(area);
            Ring ring;
            for (const ImagePosition &p : part.pixels) {
                FUZZ_CHECK(p.x >= 0 && p.x <= lod::lastPixel && p.y >= 0 && p.y <= lod::lastPixel);
                const bool onEdge =
                    p.x == 0 || p.y == 0 || p.x == lod::lastPixel || p.y == lod::lastPixel;
                const OGRPoint at = homePixel(place, p);
                FUZZ_CHECK(onEdge || shoreDistance(at.getX(), at.getY(), shore) <= 1.0);
                ring.push_back({p.x, p.y});
            }
            ring.push_back(ring.front());
            drawn[area].push_back(std::move(ring));
            fills[area].push_back(part.fill);
        }
    });
    FUZZ_CHECK(tally.tooManyPoints == 0);
    const std::optional<std::set<Area>> expected = areasWithParts(*shape);
    if (tally.unclipped == 0 && expected)
        FUZZ_CHECK(written == *expected);
    if (tally.unclipped > 0 || tally.madeValid > 0)
        return 0;

    // The drawn result, on a grid of sample pixels of every area the shape's envelope touches.
    OGREnvelope e;
    shape->getEnvelope(&e);
    const Area nw = globalArea(placeOf({e.MaxY, e.MinX}));
    const Area se = globalArea(placeOf({e.MinY, e.MaxX}));
    const Area homeArea = globalArea(home);
    for (int c = nw.first; c <= se.first; ++c) {
        for (int r = nw.second; r <= se.second; ++r) {
            const std::vector<Ring> &rings = drawn[{c, r}];
            const std::vector<LwmFill> &fill = fills[{c, r}];
            for (int y = 3; y < lod::lastPixel; y += 6) {
                for (int x = 3; x < lod::lastPixel; x += 6) {
                    const double hx = x + lod::areaPitch * (c - homeArea.first);
                    const double hy = y + lod::areaPitch * (r - homeArea.second);
                    if (shoreDistance(hx, hy, shore) <= 1.5)
                        continue;
                    // A later polygon draws over an earlier one.
                    bool water = false;
                    for (std::size_t i = 0; i < rings.size(); ++i) {
                        if (insideRing(x, y, rings[i]))
                            water = fill[i] == LwmFill::Water;
                    }
                    FUZZ_CHECK(water == inside(hx, hy, shore));
                }
            }
        }
    }
    return 0;
}
