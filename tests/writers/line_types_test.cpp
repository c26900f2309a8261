#include "writers/line_types.h"

#include <gtest/gtest.h>

TEST(LineTypes, CatalogueHoldsTheItemsInOrder)
{
    const QStringList &c = lineTypeCatalogue();
    ASSERT_EQ(c.size(), 221);
    const struct
    {
        int item;
        const char *text;
    } rows[] = {
        {1, ";Stream Lines"},
        {2, "\"1024\" ;unknown/perennial"},
        {4, ""},
        {5, ";Ocean Shorelines - Perennial"},
        {6, "\"1026\"   ;white sand"},
        {103, " "},
        {114, " "},
        {162, ""},
        {221, "\"1209\"  ;All Types"},
    };
    for (const auto &r : rows)
        EXPECT_EQ(c[r.item - 1].toStdString(), r.text) << r.item;
    EXPECT_TRUE(c.contains("\"1139\"  ;asphalt / 2 lanes"));
    EXPECT_TRUE(c.contains("\"1190\"  ;Cold Grassland"));
    EXPECT_TRUE(c.contains("\"1142\"  ;concrete / 4 lane"));
    EXPECT_TRUE(c.contains("\"1166\"  ;concrete / 4 lanes"));
    EXPECT_TRUE(c.contains("\"1134\"  ;concrete / 1 lane"));
    EXPECT_TRUE(c.contains(";Ocean Shoreline - No Surf"));
    EXPECT_TRUE(c.contains("\"1133\"   ;dry riverbed"));
}

TEST(LineTypes, CodesRunWithoutAGapAndItemsKeepTheirForm)
{
    int next = 1024, headings = 0, separators = 0, longest = 0;
    for (const QString &item : lineTypeCatalogue()) {
        longest = std::max<int>(longest, item.size());
        if (item.startsWith(';')) {
            ++headings;
        } else if (item.trimmed().isEmpty()) {
            ++separators;
        } else {
            EXPECT_EQ(item.mid(1, 4).toInt(), next) << item.toStdString();
            EXPECT_FALSE(item.endsWith(' '));
            ++next;
        }
    }
    EXPECT_EQ(next, 1210);
    EXPECT_EQ(headings, 18);
    EXPECT_EQ(separators, 17);
    EXPECT_EQ(longest, 33);
}

TEST(LineTypes, LayersRunFromZeroToHundred)
{
    const QStringList &l = layerItems();
    ASSERT_EQ(l.size(), 101);
    EXPECT_EQ(l.first(), "0");
    EXPECT_EQ(l[8], "8");
    EXPECT_EQ(l.last(), "100");
}

TEST(LineTypes, OnlyAQuotedCatalogueCodeNamesALineType)
{
    const struct
    {
        const char *text;
        bool names;
    } rows[] = {
        {"\"1139\"  ;asphalt / 2 lanes", true},
        {"\"1024\"", true},
        {"  \"1209\" ;typed by hand", true},
        {"Select VTP Road/Line/Shoreline", false},
        {";ROADS - Divided Median", false},
        {"", false},
        {" ", false},
        {"1139", false},
        {"\"1023\"  ;before the first", false},
        {"\"1210\"", false},
        {"\"113\"", false},
    };
    for (const auto &r : rows)
        EXPECT_EQ(namesCatalogueLineType(QString::fromUtf8(r.text)), r.names) << r.text;
}

TEST(LineTypes, ABareCodeStandsForItsCatalogueItem)
{
    for (const char *code : {"1139", " 1024 ", "1209"}) {
        const QString item = lineTypeOfCode(code);
        EXPECT_TRUE(item.startsWith(u'"' + QString(code).trimmed() + u'"')) << code;
        EXPECT_TRUE(namesCatalogueLineType(item)) << code;
    }
    for (const char *code :
         {"1023", "1210", "113", "\"1139\"", "", "Select VTP Road/Line/Shoreline"})
        EXPECT_EQ(lineTypeOfCode(code), QString()) << code;
}
