#include "grid/lod_grid.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale german(QLocale::German, QLocale::Germany);

std::string text(const std::optional<QString> &caption)
{
    return caption ? caption->toStdString() : "<unset>";
}

struct GridCase
{
    CoordinateTexts typed;
    const char *cellX, *cellY, *areaX, *areaY, *latDecimal, *lngDecimal;
};

TEST(CalculateGrid, GivesCellAreaAndDecimalDegrees)
{
    const GridCase cases[] = {
        // Start texts of the window.
        {{"-00", "00.00", "-000", "00.00"}, "384", "256", "0", "0", "0", "0"},
        {{"47", "30.50", "-122", "18.25"},
         "123",
         "120",
         "2",
         "27",
         "47.5083333333333",
         "-122.304166666667"},
        {{"-33", "51.30", "151", "12.60"}, "706", "352", "18", "9", "-33.855", "151.21"},
        // A minus in the minutes multiplies with the minus of the degrees.
        {{"-33", "-51.30", "151", "0"}, "706", "347", "4", "13", "-32.145", "151"},
        // The grid's edges: east and south clamp to the last cell and area.
        {{"-90", "0", "180", "0"}, "767", "511", "31", "31", "-90", "180"},
        {{"90", "0", "-180", "0"}, "0", "0", "0", "0", "90", "-180"},
        {{"0", "0", "190", "0"}, "767", "256", "31", "0", "0", "190"},
        {{"0", "0", "-190", "0"}, "0", "256", "0", "0", "0", "-190"},
        {{"90", "0", "179", "59.99"}, "767", "0", "31", "0", "90", "179.999833333333"},
        // Beyond the poles.
        {{"95", "0", "0", "0"}, "384", "0", "0", "0", "95", "0"},
        {{"-100", "0", "0", "0"}, "384", "511", "0", "31", "-100", "0"},
        // London, 7.5 minutes west of Greenwich: the zero degrees keep their typed sign.
        {{"51", "30", "-00", "7.5"}, "383", "109", "23", "16", "51.5", "-0.125"},
        {{"51", "30", "00", "7.5"}, "384", "109", "8", "16", "51.5", "0.125"},
        {{"-0", "0", "-0", "0"}, "384", "256", "0", "0", "0", "0"},
        // Fields without a leading number read as 0; decimals in the degrees count as typed.
        {{"", "abc", "N47", "12.5xyz"}, "384", "256", "14", "0", "0", "0.208333333333333"},
        {{"0.5", "30", "47abc", "0"}, "484", "253", "8", "4", "1", "47"},
        // Tokyo and Rio de Janeiro.
        {{"35", "40.8", "139", "45.6"}, "682", "154", "4", "16", "35.68", "139.76"},
        {{"-22", "54.5", "-43", "10.4"},
         "291",
         "321",
         "28",
         "5",
         "-22.9083333333333",
         "-43.1733333333333"},
    };
    for (const auto &c : cases) {
        const GridCaptions r = calculateGrid(c.typed, english);
        const std::string where = c.typed.latDeg.toStdString() + " " + c.typed.latMin.toStdString()
                                  + " " + c.typed.longDeg.toStdString() + " "
                                  + c.typed.longMin.toStdString();
        EXPECT_FALSE(r.error) << where;
        EXPECT_EQ(text(r.cellX), c.cellX) << where;
        EXPECT_EQ(text(r.cellY), c.cellY) << where;
        EXPECT_EQ(text(r.areaX), c.areaX) << where;
        EXPECT_EQ(text(r.areaY), c.areaY) << where;
        EXPECT_EQ(text(r.latDecimal), c.latDecimal) << where;
        EXPECT_EQ(text(r.lngDecimal), c.lngDecimal) << where;
    }
}

// 47° 51,5' typed in German is 47° 51.5', not 47° 51', which lies in the next area row; the
// decimal degrees are written in the locale too.
TEST(CalculateGrid, MinutesReadTheLocalesDecimalSeparator)
{
    const QLocale french(QLocale::French, QLocale::France);
    const struct
    {
        const QLocale &locale;
        const char *latMin, *areaY, *latDecimal;
    } cases[] = {
        {german, "51,5", "27", "47,8583333333333"}, {german, "51.5", "27", "47,8583333333333"},
        {french, "51,5", "27", "47,8583333333333"}, {english, "51.5", "27", "47.8583333333333"},
        {english, "51,5", "28", "47.85"},
    };
    for (const auto &c : cases) {
        const GridCaptions r = calculateGrid({"47", c.latMin, "8", "30"}, c.locale);
        EXPECT_EQ(text(r.areaY), c.areaY) << c.locale.name().toStdString() << c.latMin;
        EXPECT_EQ(text(r.latDecimal), c.latDecimal) << c.locale.name().toStdString() << c.latMin;
    }
}

TEST(CalculateGrid, OverflowKeepsTheCaptionsWrittenBeforeIt)
{
    struct OverflowCase
    {
        CoordinateTexts typed;
        int written; // captions set, in the order cellX, cellY, areaX, areaY, lat, lng
        RuntimeError::Number error;
    };
    const OverflowCase cases[] = {
        {{"0", "0", "1e308", "0"}, 0, RuntimeError::Overflow},
        {{"1e308", "1e308", "0", "0"}, 1, RuntimeError::Overflow},
        {{"1e307", "0", "0", "0"}, 3, RuntimeError::Overflow},
        {{"0", "0", "1e400", "0"}, 0, RuntimeError::Overflow},
        {{"0", "0", "0", "1e400"}, 0, RuntimeError::Overflow},
    };
    for (const auto &c : cases) {
        const GridCaptions r = calculateGrid(c.typed, english);
        ASSERT_TRUE(r.error) << c.typed.latDeg.toStdString();
        EXPECT_EQ(r.error->number(), c.error);
        const std::optional<QString> *all[] = {&r.cellX, &r.cellY,      &r.areaX,
                                               &r.areaY, &r.latDecimal, &r.lngDecimal};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(all[i]->has_value(), i < c.written) << c.typed.latDeg.toStdString() << i;
    }
}

TEST(CalculateGrid, HugeButFiniteInputsClampToTheGrid)
{
    const GridCaptions r = calculateGrid({"-1e300", "0", "1e306", "0"}, english);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(text(r.cellX), "767");
    EXPECT_EQ(text(r.cellY), "511");
    EXPECT_EQ(text(r.areaX), "31");
    EXPECT_EQ(text(r.areaY), "31");
    EXPECT_EQ(text(r.latDecimal), "-1E+300");
}

TEST(CalculateGrid, NeverHangsOnLongOrForeignText)
{
    const QString longText(10000, u'7');
    const GridCaptions r = calculateGrid({longText, "0", "Москва", "東京"}, english);
    ASSERT_TRUE(r.error); // 10 000 sevens overflow a double
    const GridCaptions foreign = calculateGrid({"Москва", "東京", "", ""}, english);
    EXPECT_FALSE(foreign.error);
    EXPECT_EQ(text(foreign.cellX), "384");
}

TEST(DecimalDegrees, MinutesTakeTheSignOfTheDegrees)
{
    EXPECT_DOUBLE_EQ(decimalDegrees("-33", "51.30"), -33.855);
    EXPECT_DOUBLE_EQ(decimalDegrees("47", "-30"), 46.5);
    EXPECT_DOUBLE_EQ(decimalDegrees("0.5", "30"), 1);
    EXPECT_DOUBLE_EQ(decimalDegrees("-00", "7.5"), -0.125);
    EXPECT_DOUBLE_EQ(decimalDegrees("00", "7.5"), 0.125);
    EXPECT_DOUBLE_EQ(decimalDegrees("-0", "-7.5"), 0.125);
}

} // namespace
