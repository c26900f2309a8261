#include "areas/polygon_parts.h"

#include "areas/area_files.h"
#include "grid/grid_constants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {

const GridPlace home{123, 120, 2, 27};

std::unique_ptr<OGRGeometry> wkt(const std::string &text)
{
    OGRGeometry *g = nullptr;
    OGRGeometryFactory::createFromWkt(text.c_str(), nullptr, &g);
    return std::unique_ptr<OGRGeometry>(g);
}

// A ring of `n` points around (x, y) in degrees, radii in areas.
std::string circle(double x, double y, double rx, double ry, int n)
{
    std::string ring;
    for (int i = 0; i <= n; ++i) {
        const double a = 2 * std::numbers::pi * (i % n) / n;
        ring += (i ? "," : "") + std::to_string(x + rx * lod::areaWidth * std::cos(a)) + " "
                + std::to_string(y + ry * lod::areaHeight * std::sin(a));
    }
    return ring;
}

struct Parts
{
    std::vector<AreaPart> parts;
    PolygonTally tally;
};

Parts partsOf(const std::string &text)
{
    Parts out;
    polygonAreaParts(*wkt(text), out.tally,
                     [&](AreaPart &&p) { out.parts.push_back(std::move(p)); });
    return out;
}

struct LimitCase
{
    const char *what;
    double radius;
    int vertices;
    std::size_t minParts;
    qsizetype fewPixels;
};

// Parts above the point limit are halved; parts too small to hold a polygon are counted.
TEST(PolygonParts, KeepWithinTheFormatsLimits)
{
    const GeoBounds b = areaBounds(home);
    // Within pixel 128, 128, so that the pond rounds to that one pixel.
    const double x = b.west + 128.2 * lod::areaWidth / 255;
    const double y = b.north - 127.8 * lod::areaHeight / 255;
    const LimitCase cases[] = {
        {"a detailed lake inside one area", 0.45, 600, 2, 0},
        {"a pond of a pixel", 0.001, 12, 0, 1},
        {"a plain lake", 0.3, 40, 1, 0},
    };
    for (const LimitCase &c : cases) {
        SCOPED_TRACE(c.what);
        const Parts lake =
            partsOf("POLYGON((" + circle(x, y, c.radius, c.radius, c.vertices) + "))");
        EXPECT_GE(lake.parts.size(), c.minParts);
        EXPECT_EQ(lake.tally.fewPixels, c.fewPixels);
        for (const AreaPart &part : lake.parts) {
            EXPECT_LE(part.pixels.size(), std::size_t(partPointLimit));
            EXPECT_TRUE(distinctAtLeast(part.pixels, 3));
        }
    }
}

TEST(RingPixels, DropRepeatsAndTheClosingPoint)
{
    const GeoBounds b = areaBounds(home);
    const double px = lod::areaWidth / 255, py = lod::areaHeight / 255;
    OGRLinearRing ring;
    // Two points within the same pixel, then the closing point.
    for (auto [x, y] : {std::pair{10.0, 10.0}, {10.2, 10.1}, {20, 10}, {20, 30}, {10, 10}})
        ring.addPoint(b.west + x * px, b.north - y * py);
    const std::vector<ImagePosition> pixels = ringPixels(home, ring);
    ASSERT_EQ(pixels.size(), 3u);
    EXPECT_EQ(pixels[1].x, 20);
    EXPECT_EQ(pixels[2].y, 30);
}

} // namespace
