#include "osm/osm_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(OsmRules, RefusesABadLineWithItsNumberAndWhy)
{
    struct Case
    {
        const char *text;
        const char *failure;
    };
    const Case cases[] = {
        {"natural=water", "Line 1: a rule is a tag pattern and what it becomes"},
        {"# lakes\n\nnatural water", "Line 3: \u201cnatural\u201d is no tag pattern"},
        {"=water water", "Line 1: \u201c=water\u201d is no tag pattern"},
        {"natural=water|| water", "Line 1: \u201cnatural=water||\u201d is no tag pattern"},
        {"natural=water sea", "Line 1: \u201csea\u201d is no kind"},
        {"waterway=river line width=4", "Line 1: a line rule needs code=NNNN"},
        {"waterway=river line code=999", "Line 1: code= takes a code of the line-type catalogue"},
        {"waterway=river line code=1024 width=-1", "Line 1: width= takes a number of 0 or more"},
        {"waterway=river line code=1024 width=4,5", "Line 1: width= takes a number"},
        {"highway=primary road layer=101", "Line 1: layer= takes a whole number from 0 to 100"},
        {"highway=primary road lanes=0", "Line 1: lanes= takes a whole number from 1 to 10"},
        {"highway=primary road surface=cobbles", "Line 1: surface= takes concrete"},
        {"natural=water water width=3", "Line 1: \u201cwidth=3\u201d is no option of a water"},
        {"waterway=river line code=1024 divided",
         "Line 1: \u201cdivided\u201d is no option of a line"},
        {"highway=primary\troad\nhighway=x road lanes=two\n", "Line 2: lanes= takes"},
        {"# only comments\n", "The rules file holds no rule."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const OsmRulesOrError read = readOsmRules(QString::fromUtf8(c.text));
        EXPECT_TRUE(read.failure.startsWith(QString::fromUtf8(c.failure)))
            << read.failure.toStdString();
        EXPECT_TRUE(read.rules.rules.empty());
    }
}

TEST(OsmRules, TheShippedRulesRead)
{
    const OsmRulesOrError read = readOsmRules(shippedOsmRulesText());
    EXPECT_EQ(read.failure, QString());
    EXPECT_GT(read.rules.rules.size(), 10u);
    // Closed ways tagged for water are areas; a stream's closed loop is not.
    const QStringList tags = read.rules.areaTags();
    for (const char *tag : {"natural=water", "water", "waterway=riverbank", "landuse=reservoir"})
        EXPECT_TRUE(tags.contains(QString::fromUtf8(tag))) << tag;
    EXPECT_FALSE(tags.contains(QStringLiteral("waterway")));
}

OsmTags tagsOf(std::initializer_list<std::pair<const char *, const char *>> list)
{
    OsmTags tags;
    for (const auto &[k, v] : list)
        tags.emplace_back(QString::fromUtf8(k), QString::fromUtf8(v));
    return tags;
}

TEST(OsmRules, MapsLinesToTheCatalogue)
{
    struct Case
    {
        std::initializer_list<std::pair<const char *, const char *>> tags;
        const char *code; // empty: no rule maps the line
        const char *width;
        const char *layer;
    };
    const Case cases[] = {
        {{{"highway", "motorway"}}, "\"1143\"", "24", "9"}, // divided asphalt / 4
        {{{"highway", "motorway"}, {"lanes", "3"}, {"oneway", "yes"}}, "\"1147\"", "24", "9"},
        {{{"highway", "trunk"}, {"surface", "concrete"}}, "\"1142\"", "24", "9"},
        {{{"highway", "secondary"}, {"dual_carriageway", "yes"}}, "\"1139\"", "8", "9"},
        {{{"highway", "primary"}}, "\"1163\"", "10", "9"},                 // asphalt / 2 lanes
        {{{"highway", "primary"}, {"lanes", "3"}}, "\"1167\"", "10", "9"}, // up to 4 lanes
        {{{"highway", "primary"}, {"lanes", "2;3"}}, "\"1163\"", "10", "9"},
        {{{"highway", "primary"}, {"lanes", "40"}}, "\"1179\"", "10", "9"}, // 10 at most
        {{{"highway", "primary"}, {"lanes", "wide"}}, "\"1163\"", "10", "9"},
        {{{"highway", "residential"}, {"surface", "gravel"}}, "\"1164\"", "6", "9"},
        {{{"highway", "residential"}, {"surface", "moon dust"}}, "\"1163\"", "6", "9"},
        {{{"highway", "track"}}, "\"1161\"", "3", "9"}, // dirt / 1 lane
        {{{"highway", "track"}, {"surface", "asphalt"}}, "\"1159\"", "3", "9"},
        {{{"name", "Aare"}, {"waterway", "river"}}, "\"1024\"", "20", "8"},
        {{{"waterway", "ditch"}}, "\"1025\"", "2", "8"},
        {{{"highway", "footway"}}, "", "", ""}, // skipped by a rule
        {{{"power", "line"}}, nullptr, nullptr, nullptr},
    };
    for (const Case &c : cases) {
        const OsmTags tags = tagsOf(c.tags);
        SCOPED_TRACE(featureKind(tags).toStdString());
        const OsmRule *rule = lineRule(shippedOsmRules(), tags);
        if (!c.code) {
            EXPECT_EQ(rule, nullptr);
            continue;
        }
        ASSERT_NE(rule, nullptr);
        if (!*c.code) {
            EXPECT_EQ(rule->kind, OsmRule::Kind::Skip);
            continue;
        }
        EXPECT_TRUE(lineTypeFor(*rule, tags).startsWith(QString::fromUtf8(c.code)))
            << lineTypeFor(*rule, tags).toStdString();
        EXPECT_EQ(rule->width, QString::fromUtf8(c.width));
        EXPECT_EQ(rule->layer, QString::fromUtf8(c.layer));
        // Area rules never take a line.
        EXPECT_EQ(areaRule(shippedOsmRules(), tags) == nullptr, rule->kind != OsmRule::Kind::Skip);
    }
}

TEST(OsmRules, TheFirstMatchingRuleDecides)
{
    const OsmRules rules = readOsmRules(u"natural=water land\nwater=* water\n"
                                        u"landuse=basin|reservoir water\n")
                               .rules;
    const OsmRule *lake = areaRule(rules, tagsOf({{"water", "lake"}, {"natural", "water"}}));
    ASSERT_NE(lake, nullptr);
    EXPECT_EQ(lake->kind, OsmRule::Kind::Land);
    EXPECT_EQ(lake->lineNumber, 1);
    ASSERT_NE(areaRule(rules, tagsOf({{"landuse", "reservoir"}})), nullptr);
    EXPECT_EQ(areaRule(rules, tagsOf({{"landuse", "farmland"}})), nullptr);
    EXPECT_EQ(lineRule(rules, tagsOf({{"water", "lake"}})), nullptr);
}

TEST(OsmRules, ReadsGdalTagLists)
{
    struct Case
    {
        const char16_t *text;
        std::initializer_list<std::pair<const char *, const char *>> tags;
    };
    const Case cases[] = {
        {u"", {}},
        {u"\"natural\"=>\"water\"", {{"natural", "water"}}},
        {u"\"name\"=>\"Lac \\\"L\u00e9man\\\"\",\"a\\\\b\"=>\"=>,\"",
         {{"name", "Lac \"L\u00e9man\""}, {"a\\b", "=>,"}}},
        {u"\"k\"=>\"v\",garbage", {{"k", "v"}}},
        {u"\"k\"=>\"unterminated", {}},
        {u"\"k\"=\"v\"", {}},
    };
    for (const Case &c : cases) {
        const OsmTags expected = tagsOf(c.tags);
        const OsmTags read = readTagList(QStringView(c.text));
        EXPECT_EQ(read, expected) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(OsmRules, CountsAFeatureByWhatItIs)
{
    EXPECT_EQ(featureKind(tagsOf({{"name", "X"}, {"building", "yes"}})), u"building=yes");
    EXPECT_EQ(featureKind(tagsOf({{"name", "X"}, {"colour", "red"}})), u"name=X");
    EXPECT_EQ(featureKind({}), u"no tags");
}

} // namespace
