#include "services/tile_plan.h"

#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

const GridPlace london{383, 109, 23, 15};

ImageryService service(const char *url, int maxZoom = 19)
{
    return *makeService({}, QString::fromUtf8(url), maxZoom).service;
}

// Tile numbers worked out by hand from the area's edges, half a pixel outside its outermost
// pixel centres: London's area spans columns 16371.997..16373.336, rows 10895.097..10896.710.
TEST(TilePlanTest, OnlyTheTilesUnderTheCutAtTheFirstZoomAsFineAsIt)
{
    struct Case
    {
        GridPlace place;
        int maxZoom, zoom, firstX, lastX, firstY, lastY;
    };
    const Case cases[] = {
        {london, 19, 15, 16371, 16373, 10895, 10896},
        {{123, 120, 2, 27}, 19, 15, 5250, 5252, 11456, 11457},   // Seattle
        {{383, 255, 0, 31}, 19, 15, 16341, 16342, 16382, 16384}, // on the equator
        {{424, 54, 0, 0}, 19, 14, 9045, 9046, 3528, 3529},       // Tromsø: narrow pixels
        {london, 12, 12, 2046, 2046, 1361, 1362},                // the service's limit
    };
    for (const Case &c : cases) {
        const AreaRequests plan =
            planRequests(service("https://e.org/{z}/{x}/{y}", c.maxZoom), c.place);
        ASSERT_EQ(plan.zoom, c.zoom) << c.place.cellColumn;
        EXPECT_EQ(plan.epsg, 3857);
        ASSERT_EQ(plan.columns, c.lastX - c.firstX + 1);
        ASSERT_EQ(plan.rows, c.lastY - c.firstY + 1);
        ASSERT_EQ(plan.tiles.size(), plan.columns * plan.rows);
        EXPECT_EQ(plan.tiles.first().url.path(),
                  QStringLiteral("/%1/%2/%3").arg(c.zoom).arg(c.firstX).arg(c.firstY));
        EXPECT_EQ(plan.tiles.last().url.path(),
                  QStringLiteral("/%1/%2/%3").arg(c.zoom).arg(c.lastX).arg(c.lastY));
        EXPECT_EQ(plan.tiles.last().column, plan.columns - 1);
    }
}

TEST(TilePlanTest, EveryKindOfAddressNamesTheSameTile)
{
    // Tile 16371, 10895 at zoom 15; 2^15 - 1 - 10895 = 21872 counted from the south.
    EXPECT_EQ(tileAddress(service("https://e.org/{z}/{x}/{-y}"), 15, 16371, 10895),
              QStringLiteral("https://e.org/15/16371/21872"));
    EXPECT_EQ(tileAddress(service("https://e.org/{z}/{y}/{x}"), 15, 16371, 10895),
              QStringLiteral("https://e.org/15/10895/16371"));
    // The quadkey's worked example: tile 3, 5 at level 3 is 213.
    EXPECT_EQ(quadkey(3, 3, 5), QStringLiteral("213"));
    EXPECT_EQ(tileAddress(service("https://e.org/a{q}.jpg"), 3, 3, 5),
              QStringLiteral("https://e.org/a213.jpg"));
}

TEST(TilePlanTest, AGetMapAsksForTheCutItselfAndTilesEndAtTheMercatorLimit)
{
    const AreaRequests wms = planRequests(
        service("https://e.org/wms?BBOX={west},{south},{east},{north}&WIDTH={width}"), london);
    ASSERT_EQ(wms.tiles.size(), 1);
    EXPECT_EQ(wms.epsg, 4326);
    const QStringList box =
        QUrlQuery(wms.tiles.first().url).queryItemValue(QStringLiteral("BBOX")).split(u',');
    const GeoBounds area = areaBounds(london);
    const double dx = (area.east - area.west) / 255, dy = (area.north - area.south) / 255;
    ASSERT_EQ(box.size(), 4);
    EXPECT_NEAR(box[0].toDouble(), area.west - dx / 2, 1e-9);
    EXPECT_NEAR(box[1].toDouble(), area.south - dy / 2, 1e-9);
    EXPECT_NEAR(box[2].toDouble(), area.east + dx / 2, 1e-9);
    EXPECT_NEAR(box[3].toDouble(), area.north + dy / 2, 1e-9);
    EXPECT_NEAR(wms.geotransform[1] * 256, box[2].toDouble() - box[0].toDouble(), 2e-9);
    EXPECT_TRUE(wms.tiles.first().url.toString().endsWith(QStringLiteral("WIDTH=256")));

    const AreaRequests polar = planRequests(service("https://e.org/{z}/{x}/{y}"), {10, 0, 3, 3});
    EXPECT_TRUE(polar.tiles.isEmpty());
    EXPECT_TRUE(polar.failure.contains(QStringLiteral("85°")));
}

} // namespace
