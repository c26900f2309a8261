#include "grid/grid_constants.h"
#include "grid/point_geography.h"

#include <gtest/gtest.h>

namespace {

// Seattle's area, both poles, and the cells on either side of the antimeridian.
const GridPlace places[] = {
    {123, 120, 3, 7}, {0, 0, 0, 0}, {767, 511, 31, 31}, {767, 0, 31, 0}, {0, 511, 0, 31},
};

TEST(PointGeography, PixelAndGridPointsComeBackWhereTheyWere)
{
    const double positions[] = {0, 0.4, 127.5, 255, -20, 300.25};
    for (const GridPlace &p : places) {
        for (double x : positions) {
            for (double y : positions) {
                const ImagePosition back = imagePositionOf(p, pixelGeoPoint(p, {x, y}));
                EXPECT_NEAR(back.x, x, 1e-6) << p.cellColumn << " " << x;
                EXPECT_NEAR(back.y, y, 1e-6) << p.cellRow << " " << y;
                const GridPosition g{4080 + 255.0 * p.areaColumn + x, 4080 + 255.0 * p.areaRow + y};
                const GridPosition gridBack = gridPositionOf(
                    p.cellColumn, p.cellRow, gridGeoPoint(p.cellColumn, p.cellRow, g));
                EXPECT_NEAR(gridBack.x, g.x, 1e-6) << p.cellColumn << " " << x;
                EXPECT_NEAR(gridBack.y, g.y, 1e-6) << p.cellRow << " " << y;
            }
        }
    }
}

TEST(PointGeography, EdgePointsLieOnTheEdges)
{
    for (const GridPlace &p : places) {
        const GeoBounds area = areaBounds(p), cell = cellBounds(p.cellColumn, p.cellRow);
        const GeoPoint first = pixelGeoPoint(p, {0, 0}), last = pixelGeoPoint(p, {255, 255});
        EXPECT_EQ(first.latitude, area.north);
        EXPECT_EQ(first.longitude, area.west);
        EXPECT_DOUBLE_EQ(last.latitude, area.south);
        EXPECT_DOUBLE_EQ(last.longitude, area.east);
        const GeoPoint gridFirst = gridGeoPoint(p.cellColumn, p.cellRow, {4080, 4080});
        const GeoPoint gridEnd = gridGeoPoint(p.cellColumn, p.cellRow, {12240, 12240});
        EXPECT_EQ(gridFirst.latitude, cell.north);
        EXPECT_EQ(gridFirst.longitude, cell.west);
        EXPECT_DOUBLE_EQ(gridEnd.latitude, cell.south);
        EXPECT_DOUBLE_EQ(gridEnd.longitude, cell.east);
        // The pixel and the grid point a press makes of it are one place.
        const GeoPoint pixel = pixelGeoPoint(p, {12, 101});
        const GeoPoint grid =
            gridGeoPoint(p.cellColumn, p.cellRow,
                         {4080 + 255.0 * p.areaColumn + 12, 4080 + 255.0 * p.areaRow + 101});
        EXPECT_NEAR(pixel.latitude, grid.latitude, 1e-12);
        EXPECT_NEAR(pixel.longitude, grid.longitude, 1e-12);
    }
    EXPECT_EQ(pixelGeoPoint({0, 0, 0, 0}, {0, 0}).latitude, 90);
    EXPECT_EQ(pixelGeoPoint({767, 511, 31, 31}, {255, 255}).latitude, -90);
}

TEST(PointGeography, TheAntimeridianIsCrossedTheShortWay)
{
    const struct
    {
        GridPlace place;
        double longitude, expectedX;
    } cases[] = {
        // A degree of longitude is 255 / 0.0146484375 = 17408 pixels.
        {{767, 200, 31, 5}, -179.99, 255 + 0.01 * 17408},
        {{0, 200, 0, 5}, 179.99, -0.01 * 17408},
        {{0, 200, 0, 5}, -179.99, 0.01 * 17408},
        {{767, 200, 31, 5}, 540.0, 255},
    };
    for (const auto &c : cases) {
        const double latitude = areaBounds(c.place).north;
        EXPECT_NEAR(imagePositionOf(c.place, {latitude, c.longitude}).x, c.expectedX, 1e-6)
            << c.longitude;
    }
    // East of the last area the longitude comes back from the western end.
    EXPECT_NEAR(pixelGeoPoint({767, 200, 31, 5}, {255 + 17408, 0}).longitude, -179, 1e-9);
    EXPECT_NEAR(gridGeoPoint(0, 200, {4080 - 8160, 4080}).longitude, 179.53125, 1e-9);
}

} // namespace
