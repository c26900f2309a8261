#include "areas/polygon_parts.h"

#include "areas/area_files.h"
#include "grid/grid_constants.h"

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

std::unique_ptr<OGRPolygon> rectangle(const GeoBounds &b)
{
    auto ring = std::make_unique<OGRLinearRing>();
    ring->addPoint(b.west, b.north);
    ring->addPoint(b.east, b.north);
    ring->addPoint(b.east, b.south);
    ring->addPoint(b.west, b.south);
    ring->addPoint(b.west, b.north);
    auto polygon = std::make_unique<OGRPolygon>();
    polygon->addRingDirectly(ring.release());
    return polygon;
}

// The polygons of a result; the lines and points where a shape only touches an edge go.
void collectPolygons(const OGRGeometry *g, OGRMultiPolygon &into)
{
    if (!g)
        return;
    if (auto *polygon = dynamic_cast<const OGRPolygon *>(g)) {
        if (!polygon->IsEmpty())
            into.addGeometry(polygon);
    } else if (auto *collection = dynamic_cast<const OGRGeometryCollection *>(g)) {
        for (const OGRGeometry *member : *collection)
            collectPolygons(member, into);
    }
}

using Polygons = std::unique_ptr<OGRMultiPolygon>;

// The polygons of `g` inside `bounds`; nothing when GEOS gives up on them.
Polygons cut(const OGRGeometry &g, const GeoBounds &bounds, PolygonTally &tally)
{
    const std::unique_ptr<OGRPolygon> box = rectangle(bounds);
    const std::unique_ptr<OGRGeometry> inside(g.Intersection(box.get()));
    if (!inside) {
        ++tally.unclipped;
        return nullptr;
    }
    auto polygons = std::make_unique<OGRMultiPolygon>();
    collectPolygons(inside.get(), *polygons);
    return polygons;
}

bool within(const OGREnvelope &e, const GeoBounds &b)
{
    return e.MinX >= b.west && e.MaxX <= b.east && e.MinY >= b.south && e.MaxY <= b.north;
}

class Cutter
{
public:
    Cutter(PolygonTally &tally, const std::function<void(AreaPart &&)> &part)
        : m_tally(tally), m_part(part)
    {
    }

    void areas(const OGRGeometry &g, AreaBlock block)
    {
        OGREnvelope e;
        g.getEnvelope(&e);
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
            const GeoBounds bounds = boundsOf(half);
            if (within(e, bounds)) {
                areas(g, half);
                return;
            }
        }
        for (const AreaBlock &half : {first, second}) {
            if (Polygons piece = cut(g, boundsOf(half), m_tally))
                areas(*piece, half);
        }
    }

private:
    void leaf(const OGRGeometry &g, const GridPlace &place)
    {
        OGRMultiPolygon polygons;
        collectPolygons(&g, polygons);
        for (const OGRPolygon *polygon : polygons) {
            m_tally.islands += polygon->getNumInteriorRings();
            OGRPolygon outer;
            outer.addRingDirectly(polygon->getExteriorRing()->clone());
            fit(outer, place, 0);
        }
    }

    // One hole-free polygon inside the area, halved until its parts fit a file.
    void fit(const OGRPolygon &polygon, const GridPlace &place, int depth)
    {
        std::vector<ImagePosition> pixels = ringPixels(place, *polygon.getExteriorRing());
        if (!distinctAtLeast(pixels, 3)) {
            ++m_tally.fewPixels;
            return;
        }
        if (qsizetype(pixels.size()) <= partPointLimit) {
            m_part({place, std::move(pixels)});
            return;
        }
        if (depth == deepestHalving) {
            ++m_tally.tooManyPoints;
            return;
        }
        OGREnvelope e;
        polygon.getEnvelope(&e);
        GeoBounds first{e.MaxY, e.MinY, e.MinX, e.MaxX}, second = first;
        if ((e.MaxX - e.MinX) / lod::areaWidth >= (e.MaxY - e.MinY) / lod::areaHeight)
            first.east = second.west = (e.MinX + e.MaxX) / 2;
        else
            first.south = second.north = (e.MinY + e.MaxY) / 2;
        for (const GeoBounds &half : {first, second}) {
            if (Polygons piece = cut(polygon, half, m_tally)) {
                for (const OGRPolygon *p : *piece) {
                    OGRPolygon outer;
                    outer.addRingDirectly(p->getExteriorRing()->clone());
                    fit(outer, place, depth + 1);
                }
            }
        }
    }

    PolygonTally &m_tally;
    const std::function<void(AreaPart &&)> &m_part;
};

} // namespace

void polygonAreaParts(const OGRGeometry &polygonal, PolygonTally &tally,
                      const std::function<void(AreaPart &&)> &part)
{
    Cutter(tally, part).areas(polygonal, {0, lastGlobalColumn, 0, lastGlobalRow});
}

std::vector<ImagePosition> ringPixels(const GridPlace &place, const OGRLinearRing &ring)
{
    std::vector<ImagePosition> pixels;
    const int n = ring.getNumPoints();
    pixels.reserve(std::size_t(std::max(n, 0)));
    const auto onImage = [](double v) {
        return std::clamp(std::nearbyint(v), 0.0, double(lod::lastPixel));
    };
    for (int i = 0; i < n; ++i) {
        const ImagePosition p = imagePositionOf(place, {ring.getY(i), ring.getX(i)});
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
