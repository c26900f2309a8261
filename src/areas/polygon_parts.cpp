#include "areas/polygon_parts.h"

#include "areas/area_files.h"
#include "grid/grid_constants.h"

#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <utility>

namespace {

constexpr int lastGlobalColumn = (lod::lastCellColumn + 1) * lod::areasPerCell - 1;
constexpr int lastGlobalRow = (lod::lastCellRow + 1) * lod::areasPerCell - 1;
// Halving a part more often than this leaves pieces far below a pixel.
constexpr int deepestHalving = 24;

// Global area columns and rows, both ends included.
struct AreaBlock
{
    int west, east, north, south;
    bool single() const { return west == east && north == south; }
};

AreaBlock blockOf(const OGREnvelope &e)
{
    const auto column = [](double longitude) { return (longitude + 180) / lod::areaWidth; };
    const auto row = [](double latitude) { return (90 - latitude) / lod::areaHeight; };
    // An envelope that ends on an edge does not reach into the area beyond it.
    AreaBlock b{int(std::floor(column(e.MinX))), int(std::ceil(column(e.MaxX))) - 1,
                int(std::floor(row(e.MaxY))), int(std::ceil(row(e.MinY))) - 1};
    b.west = std::clamp(b.west, 0, lastGlobalColumn);
    b.east = std::clamp(b.east, b.west, lastGlobalColumn);
    b.north = std::clamp(b.north, 0, lastGlobalRow);
    b.south = std::clamp(b.south, b.north, lastGlobalRow);
    return b;
}

AreaBlock common(const AreaBlock &a, const AreaBlock &b)
{
    return {std::max(a.west, b.west), std::min(a.east, b.east), std::max(a.north, b.north),
            std::min(a.south, b.south)};
}

bool empty(const AreaBlock &b)
{
    return b.west > b.east || b.north > b.south;
}

GeoBounds boundsOf(const AreaBlock &b)
{
    const GeoBounds nw = areaBounds(placeOfGlobalArea(b.west, b.north));
    const GeoBounds se = areaBounds(placeOfGlobalArea(b.east, b.south));
    return {nw.north, se.south, nw.west, se.east};
}

// GEOS directly: the shape is handed over once, then only clipped by rectangles, which
// GEOS does in one pass over the vertices, without the overlay a general intersection needs.
class Geos
{
public:
    Geos() : m_context(OGRGeometry::createGEOSContext()) {}
    ~Geos() { OGRGeometry::freeGEOSContext(m_context); }
    Geos(const Geos &) = delete;
    Geos &operator=(const Geos &) = delete;
    GEOSContextHandle_t operator*() const { return m_context; }

private:
    GEOSContextHandle_t m_context;
};

struct GeometryDeleter
{
    GEOSContextHandle_t context;
    void operator()(GEOSGeometry *g) const { GEOSGeom_destroy_r(context, g); }
};
using Geometry = std::unique_ptr<GEOSGeometry, GeometryDeleter>;

OGREnvelope envelopeOf(GEOSContextHandle_t c, const GEOSGeometry *g)
{
    OGREnvelope e;
    GEOSGeom_getXMin_r(c, g, &e.MinX);
    GEOSGeom_getXMax_r(c, g, &e.MaxX);
    GEOSGeom_getYMin_r(c, g, &e.MinY);
    GEOSGeom_getYMax_r(c, g, &e.MaxY);
    return e;
}

bool within(const OGREnvelope &e, const GeoBounds &b)
{
    return e.MinX >= b.west && e.MaxX <= b.east && e.MinY >= b.south && e.MaxY <= b.north;
}

// Calls `each` for every polygon of a clip's result; lines and points where a shape only
// touches an edge are passed over.
template <typename Each>
void forEachPolygon(GEOSContextHandle_t c, const GEOSGeometry *g, const Each &each)
{
    const int type = GEOSGeomTypeId_r(c, g);
    if (type == GEOS_POLYGON) {
        if (!GEOSisEmpty_r(c, g))
            each(g);
    } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
        for (int i = 0; i < GEOSGetNumGeometries_r(c, g); ++i)
            forEachPolygon(c, GEOSGetGeometryN_r(c, g, i), each);
    }
}

std::vector<GeoPoint> ringPoints(GEOSContextHandle_t c, const GEOSGeometry *ring)
{
    const GEOSCoordSequence *sequence = GEOSGeom_getCoordSeq_r(c, ring);
    unsigned int n = 0;
    if (!sequence || !GEOSCoordSeq_getSize_r(c, sequence, &n))
        return {};
    std::vector<GeoPoint> points(n);
    for (unsigned int i = 0; i < n; ++i)
        GEOSCoordSeq_getXY_r(c, sequence, i, &points[i].longitude, &points[i].latitude);
    return points;
}

class Cutter
{
public:
    Cutter(GEOSContextHandle_t context, PolygonTally &tally,
           const std::function<void(AreaPart &&)> &part, LwmFill fill,
           const std::function<bool()> &canceled)
        : c(context), m_tally(tally), m_part(part), m_fill(fill), m_canceled(canceled)
    {
    }

    // Asked before every cut; once true, it stays so and nothing more is cut.
    bool stopped()
    {
        m_stopped = m_stopped || (m_canceled && m_canceled());
        return m_stopped;
    }

    Geometry own(GEOSGeometry *g) const { return Geometry(g, GeometryDeleter{c}); }

    void areas(const GEOSGeometry *g, AreaBlock block)
    {
        if (stopped())
            return;
        const OGREnvelope e = envelopeOf(c, g);
        block = common(block, blockOf(e));
        if (empty(block))
            return;
        if (block.single()) {
            leaf(g, placeOfGlobalArea(block.west, block.north));
            return;
        }
        AreaBlock first = block, second = block;
        if (block.east - block.west >= block.south - block.north) {
            first.east = block.west + (block.east - block.west) / 2;
            second.west = first.east + 1;
        } else {
            first.south = block.north + (block.south - block.north) / 2;
            second.north = first.south + 1;
        }
        for (const AreaBlock &half : {first, second}) {
            if (within(e, boundsOf(half))) {
                areas(g, half);
                return;
            }
        }
        auto [one, two] = halves(g, boundsOf(first), boundsOf(second));
        if (one)
            areas(one.get(), first);
        if (two)
            areas(two.get(), second);
    }

private:
    // The two sides of a cut through `g`. GEOS 3.11's rectangle clipping now and then drops
    // or turns over a ring it rebuilds along the cut, most often in a piece it left invalid
    // before; the two sides then no longer add up to the whole, and the general overlay cuts
    // the piece again, made valid first.
    std::pair<Geometry, Geometry> halves(const GEOSGeometry *g, const GeoBounds &a,
                                         const GeoBounds &b)
    {
        std::pair<Geometry, Geometry> out{clipByRect(g, a), clipByRect(g, b)};
        const double whole = areaOf(g);
        const double lost = whole - areaOf(out.first.get()) - areaOf(out.second.get());
        if (!out.first || !out.second || std::abs(lost) > 1e-9 * whole + leastPartArea) {
            const Geometry fixed = own(GEOSMakeValid_r(c, g));
            out = {overlay(fixed.get(), a), overlay(fixed.get(), b)};
            if (!out.first || !out.second) {
                // Neither way cuts it: better no part than a wrong one.
                ++m_tally.unclipped;
                out.first.reset();
                out.second.reset();
            }
        }
        for (Geometry *side : {&out.first, &out.second}) {
            if (*side && GEOSisEmpty_r(c, side->get()))
                side->reset();
        }
        return out;
    }

    Geometry clipByRect(const GEOSGeometry *g, const GeoBounds &b) const
    {
        return own(GEOSClipByRect_r(c, g, b.west, b.south, b.east, b.north));
    }

    Geometry overlay(const GEOSGeometry *g, const GeoBounds &b) const
    {
        if (!g)
            return own(nullptr);
        const Geometry box = own(GEOSGeom_createRectangle_r(c, b.west, b.south, b.east, b.north));
        return own(box ? GEOSIntersection_r(c, g, box.get()) : nullptr);
    }

    double areaOf(const GEOSGeometry *g) const
    {
        double area = 0;
        return g && GEOSArea_r(c, g, &area) ? area : 0;
    }

    void leaf(const GEOSGeometry *g, const GridPlace &place)
    {
        forEachPolygon(c, g, [&](const GEOSGeometry *polygon) {
            if (areaOf(polygon) <= leastPartArea) {
                ++m_tally.fewPixels;
                return;
            }
            fit(GEOSGetExteriorRing_r(c, polygon), place, false, 0);
            // After the cut every hole lies inside the area.
            for (int i = 0; i < GEOSGetNumInteriorRings_r(c, polygon); ++i)
                m_tally.islands += fit(GEOSGetInteriorRingN_r(c, polygon, i), place, true, 0) > 0;
        });
    }

    // One ring inside the area, halved until its parts fit a file; the number of parts.
    int fit(const GEOSGeometry *ring, const GridPlace &place, bool hole, int depth)
    {
        if (stopped())
            return 0;
        std::vector<ImagePosition> pixels = ringPixels(place, ringPoints(c, ring));
        if (!distinctAtLeast(pixels, 3)) {
            ++m_tally.fewPixels;
            return 0;
        }
        if (qsizetype(pixels.size()) <= partPointLimit) {
            const LwmFill fill =
                hole ? (m_fill == LwmFill::Water ? LwmFill::Land : LwmFill::Water) : m_fill;
            m_part({place, std::move(pixels), fill, hole});
            return 1;
        }
        if (depth == deepestHalving) {
            ++m_tally.tooManyPoints;
            return 0;
        }
        const Geometry outer =
            own(GEOSGeom_createPolygon_r(c, GEOSGeom_clone_r(c, ring), nullptr, 0));
        const OGREnvelope e = envelopeOf(c, outer.get());
        GeoBounds first{e.MaxY, e.MinY, e.MinX, e.MaxX}, second = first;
        if ((e.MaxX - e.MinX) / lod::areaWidth >= (e.MaxY - e.MinY) / lod::areaHeight)
            first.east = second.west = (e.MinX + e.MaxX) / 2;
        else
            first.south = second.north = (e.MinY + e.MaxY) / 2;
        const auto [one, two] = halves(outer.get(), first, second);
        int parts = 0;
        for (const Geometry *piece : {&one, &two}) {
            if (*piece) {
                forEachPolygon(c, piece->get(), [&](const GEOSGeometry *p) {
                    parts += fit(GEOSGetExteriorRing_r(c, p), place, hole, depth + 1);
                });
            }
        }
        return parts;
    }

    GEOSContextHandle_t c;
    PolygonTally &m_tally;
    const std::function<void(AreaPart &&)> &m_part;
    LwmFill m_fill;
    const std::function<bool()> &m_canceled;
    bool m_stopped = false;
};

} // namespace

void polygonAreaParts(const OGRGeometry &polygonal, PolygonTally &tally,
                      const std::function<void(AreaPart &&)> &part, LwmFill fill,
                      const std::function<bool()> &canceled)
{
    const Geos geos;
    const GEOSContextHandle_t c = *geos;
    Cutter cutter(c, tally, part, fill, canceled);
    Geometry shape = cutter.own(polygonal.exportToGEOS(c));
    if (!shape) {
        ++tally.unclipped;
        return;
    }
    if (GEOSisValid_r(c, shape.get()) != 1) {
        ++tally.madeValid;
        shape = cutter.own(GEOSMakeValid_r(c, shape.get()));
        if (!shape) {
            ++tally.unclipped;
            return;
        }
    }
    cutter.areas(shape.get(), {0, lastGlobalColumn, 0, lastGlobalRow});
}

std::vector<ImagePosition> ringPixels(const GridPlace &place, const std::vector<GeoPoint> &ring)
{
    std::vector<ImagePosition> pixels;
    pixels.reserve(ring.size());
    const auto onImage = [](double v) {
        return std::clamp(std::nearbyint(v), 0.0, double(lod::lastPixel));
    };
    for (const GeoPoint &point : ring) {
        const ImagePosition p = imagePositionOf(place, point);
        const ImagePosition pixel{onImage(p.x), onImage(p.y)};
        if (pixels.empty() || pixel.x != pixels.back().x || pixel.y != pixels.back().y)
            pixels.push_back(pixel);
    }
    // The ring ends where it began; that point is pressed once.
    while (pixels.size() > 1 && pixels.back().x == pixels.front().x
           && pixels.back().y == pixels.front().y)
        pixels.pop_back();
    return pixels;
}

std::vector<ImagePosition> ringPixels(const GridPlace &place, const OGRLinearRing &ring)
{
    std::vector<GeoPoint> points;
    points.reserve(std::size_t(std::max(ring.getNumPoints(), 0)));
    for (int i = 0; i < ring.getNumPoints(); ++i)
        points.push_back({ring.getY(i), ring.getX(i)});
    return ringPixels(place, points);
}

bool distinctAtLeast(const std::vector<ImagePosition> &pixels, int count)
{
    std::set<std::pair<double, double>> seen;
    for (const ImagePosition &p : pixels) {
        seen.emplace(p.x, p.y);
        if (int(seen.size()) >= count)
            return true;
    }
    return false;
}
