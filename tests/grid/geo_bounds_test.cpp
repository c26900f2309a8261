#include "grid/geo_bounds.h"
#include "grid/lod_grid.h"

#include <gtest/gtest.h>

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);

struct Place
{
    const char *name;
    CoordinateTexts typed;
};

const Place places[] = {
    {"Seattle", {"47", "30.50", "-122", "18.25"}},
    {"Sydney", {"-33", "51.30", "151", "12.60"}},
    {"London", {"51", "30", "-00", "7.5"}},
    {"north-east corner", {"89", "59.99", "179", "59.99"}},
    {"south-west corner", {"-89", "59.99", "-179", "59.99"}},
    {"equator and meridian", {"00", "00.01", "00", "00.01"}},
};

int caption(const std::optional<QString> &c)
{
    return c->toInt();
}

TEST(GeoBounds, TheCalculatedCellAndAreaContainTheTypedPosition)
{
    for (const Place &p : places) {
        const GridCaptions c = calculateGrid(p.typed, english);
        const double lat = Lat(p.typed), lng = Lng(p.typed);
        const GeoBounds cell = cellBounds(caption(c.cellX), caption(c.cellY));
        const GeoBounds area =
            areaBounds(caption(c.cellX), caption(c.cellY), caption(c.areaX), caption(c.areaY));
        EXPECT_TRUE(cell.contains(lat, lng)) << p.name;
        EXPECT_TRUE(area.contains(lat, lng)) << p.name;
        EXPECT_GE(area.west, cell.west) << p.name;
        EXPECT_LE(area.east, cell.east) << p.name;
        EXPECT_NEAR(area.north - area.south, lod::areaHeight, 1e-12) << p.name;
    }
}

TEST(GeoBounds, NeighboursShareTheirEdges)
{
    // Within one cell and across the border to the next cell.
    EXPECT_EQ(areaBounds(123, 120, 2, 27).east, areaBounds(123, 120, 3, 27).west);
    EXPECT_EQ(areaBounds(123, 120, 31, 27).east, areaBounds(124, 120, 0, 27).west);
    EXPECT_EQ(areaBounds(123, 120, 2, 31).south, areaBounds(123, 121, 2, 0).north);
    EXPECT_EQ(cellBounds(10, 5).east, cellBounds(11, 5).west);
    EXPECT_EQ(cellBounds(10, 5).south, cellBounds(10, 6).north);
}

TEST(GeoBounds, TheGridEndsAtThePolesAndTheAntimeridian)
{
    EXPECT_EQ(cellBounds(0, 0).north, 90);
    EXPECT_EQ(cellBounds(0, 0).west, -180);
    EXPECT_EQ(cellBounds(767, 511).east, 180);
    EXPECT_EQ(cellBounds(767, 511).south, -90);
    EXPECT_EQ(areaBounds(767, 511, 31, 31).east, 180);
    EXPECT_EQ(areaBounds(767, 511, 31, 31).south, -90);
}

TEST(GeoBounds, PositionInAreaRunsFromTheTopLeftCorner)
{
    const GeoBounds area = areaBounds(123, 120, 2, 27);
    const GeoPoint topLeft = positionInArea(area, 0, 0);
    const GeoPoint bottomRight = positionInArea(area, 1, 1);
    EXPECT_EQ(topLeft.latitude, area.north);
    EXPECT_EQ(topLeft.longitude, area.west);
    EXPECT_DOUBLE_EQ(bottomRight.latitude, area.south);
    EXPECT_DOUBLE_EQ(bottomRight.longitude, area.east);
}

TEST(GeoBounds, EdgesReadInBothForms)
{
    const struct
    {
        double degrees;
        bool latitude;
        const char *decimal, *minutes, *hemisphereFirst;
    } cases[] = {
        {47.5083333333, true, "47.5083333\u00b0 N", "47\u00b0 30.500' N", "N 47\u00b0 30.500'"},
        {-122.3041666667, false, "122.3041667\u00b0 W", "122\u00b0 18.250' W",
         "W 122\u00b0 18.250'"},
        {-0.125, false, "0.1250000\u00b0 W", "0\u00b0 07.500' W", "W 0\u00b0 07.500'"},
        {-33.855, true, "33.8550000\u00b0 S", "33\u00b0 51.300' S", "S 33\u00b0 51.300'"},
        {179.99999994, false, "179.9999999\u00b0 E", "180\u00b0 00.000' E", "E 180\u00b0 00.000'"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(decimalDegreesText(c.degrees, c.latitude).toStdString(), c.decimal);
        EXPECT_EQ(degreesMinutesText(c.degrees, c.latitude).toStdString(), c.minutes);
        EXPECT_EQ(hemisphereMinutesText(c.degrees, c.latitude).toStdString(), c.hemisphereFirst);
    }
    const QString text = boundsText("Cell", cellBounds(123, 120));
    EXPECT_TRUE(text.startsWith("Cell\nNorth: 47.8125000\u00b0 N  (47\u00b0 48.750' N)"))
        << text.toStdString();
}

} // namespace

TEST(GeoBounds, GridPlaceIsReadFromCalculatedCaptionsOnly)
{
    struct Case
    {
        const char *cx, *cy, *ax, *ay;
        bool placed;
    };
    const Case cases[] = {
        {"384", "114", "3", "7", true},   {"0", "0", "0", "0", true},
        {"767", "511", "31", "31", true}, {"", "", "", "", false},
        {"384", "114", "3", "", false},   {"768", "114", "3", "7", false},
        {"384", "512", "3", "7", false},  {"384", "114", "32", "7", false},
        {"-1", "114", "3", "7", false},   {"384", "114", "3.5", "7", false},
    };
    for (const Case &c : cases) {
        const auto place = gridPlaceFromCaptions(c.cx, c.cy, c.ax, c.ay);
        ASSERT_EQ(place.has_value(), c.placed) << c.cx << " " << c.cy << " " << c.ax << " " << c.ay;
        if (place) {
            const GeoBounds expected = areaBounds(atoi(c.cx), atoi(c.cy), atoi(c.ax), atoi(c.ay));
            EXPECT_EQ(areaBounds(*place).west, expected.west);
            EXPECT_EQ(areaBounds(*place).north, expected.north);
        }
    }
}
