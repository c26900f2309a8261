#include "areas/area_files.h"

#include "grid/grid_constants.h"

#include <gtest/gtest.h>

namespace {

// The centre texts must calculate back to their own area everywhere, also where the degrees
// are 0 and a typed "-" alone carries the sign, and in the first and last cells of the globe.
TEST(CentreTexts, CalculateBackToTheirArea)
{
    const GridPlace places[] = {
        {123, 120, 2, 27}, {706, 352, 18, 9}, {384, 256, 0, 0},   {383, 255, 31, 31},
        {383, 256, 31, 0}, {384, 255, 0, 31}, {0, 0, 0, 0},       {767, 511, 31, 31},
        {0, 511, 0, 31},   {767, 0, 31, 0},   {384, 256, 16, 16}, {170, 300, 7, 13},
    };
    for (const GridPlace &p : places) {
        const CoordinateTexts t = centreTexts(p);
        const GridCaptions c = calculateGrid(t, QLocale::c());
        SCOPED_TRACE(qPrintable(t.latDeg + u' ' + t.latMin + u' ' + t.longDeg + u' ' + t.longMin));
        EXPECT_EQ(*c.cellX, QString::number(p.cellColumn));
        EXPECT_EQ(*c.cellY, QString::number(p.cellRow));
        EXPECT_EQ(*c.areaX, QString::number(p.areaColumn));
        EXPECT_EQ(*c.areaY, QString::number(p.areaRow));
    }
}

// Just west of Greenwich and just south of the equator the degrees are "-0".
TEST(CentreTexts, AreTypedAsAUserWould)
{
    const CoordinateTexts t = centreTexts({383, 256, 31, 0});
    EXPECT_EQ(t.latDeg, "-0");
    EXPECT_EQ(t.latMin, "00.33");
    EXPECT_EQ(t.longDeg, "-0");
    EXPECT_EQ(t.longMin, "00.44");
    const CoordinateTexts seattle = centreTexts({123, 120, 2, 27});
    EXPECT_EQ(seattle.latDeg + u' ' + seattle.latMin + u' ' + seattle.longDeg + u' '
                  + seattle.longMin,
              "47 30.62 -122 18.43");
}

} // namespace
