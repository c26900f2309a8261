#include "osm/osm_extract.h"

#include "file_bytes.h"
#include "osm_files.h"

#include <QTemporaryDir>

#include <ogr_geometry.h>

#include <gtest/gtest.h>

namespace {

struct Read
{
    OsmReadResult result;
    std::vector<std::pair<QString, int>> areas; // kind, holes
    std::vector<std::pair<QString, int>> lines; // kind, points
};

Read read(const QString &path, std::optional<GeoBounds> box = std::nullopt)
{
    Read out;
    OsmFeatureSink sink;
    sink.feature = [&out](const OGRGeometry &g, const OsmTags &tags, bool area) {
        if (area) {
            int holes = 0;
            for (const OGRPolygon *p : *g.toMultiPolygon())
                holes += p->getNumInteriorRings();
            out.areas.emplace_back(featureKind(tags), holes);
        } else {
            out.lines.emplace_back(featureKind(tags), g.toLineString()->getNumPoints());
        }
    };
    out.result = readOsmExtract({path, box, shippedOsmRules().areaTags()}, sink);
    return out;
}

// A lake with an island as a multipolygon relation, a pond as a closed way tagged only
// water=pond, a river, a road with a node the extract lacks, a relation whose ring does not
// close, and a closed loop of road that stays a line.
QString writeLakeDistrict(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("lakes.osm"));
    writeOsmFile(
        path,
        {{1, 47.000, 8.000},
         {2, 47.000, 8.010},
         {3, 47.010, 8.010},
         {4, 47.010, 8.000},
         {5, 47.004, 8.004},
         {6, 47.004, 8.006},
         {7, 47.006, 8.006},
         {8, 47.006, 8.004},
         {9, 47.020, 8.000},
         {10, 47.030, 8.020},
         {11, 47.021, 8.001},
         {12, 47.021, 8.002},
         {13, 47.022, 8.002}},
        {{100, {1, 2, 3, 4, 1}, {}},
         {101, {5, 6, 7, 8, 5}, {}},
         {102, {9, 10}, {{"waterway", "river"}, {"name", "Aare"}}},
         {103, {9, 999, 10}, {{"highway", "primary"}, {"lanes", "4"}}},
         {104, {11, 12, 13, 11}, {{"water", "pond"}}},
         {105, {1, 2, 3}, {}},
         {106, {11, 12, 13, 11}, {{"highway", "residential"}}}},
        {{200, {{100, "outer"}, {101, "inner"}}, {{"type", "multipolygon"}, {"natural", "water"}}},
         {201, {{105, "outer"}}, {{"type", "multipolygon"}, {"natural", "water"}}}});
    return path;
}

TEST(OsmExtract, ReadsWaterWithIslandsAndLinesWithTheirTags)
{
    QTemporaryDir dir;
    const Read r = read(writeLakeDistrict(dir));
    EXPECT_EQ(r.result.failure, QString());
    using Kinds = std::vector<std::pair<QString, int>>;
    std::vector<std::pair<QString, int>> areas = r.areas, lines = r.lines;
    std::sort(areas.begin(), areas.end());
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(areas, (Kinds{{"natural=water", 1}, {"water=pond", 0}}));
    EXPECT_EQ(lines,
              (Kinds{{"highway=primary", 2}, {"highway=residential", 4}, {"waterway=river", 2}}));
    EXPECT_EQ(r.result.tally.waysShort, 1);
    EXPECT_EQ(r.result.tally.ringsOpen, 1);
}

TEST(OsmExtract, TakesOnlyWhatMeetsTheBox)
{
    QTemporaryDir dir;
    const Read r = read(writeLakeDistrict(dir), GeoBounds{47.025, 47.0, 7.9, 8.0005});
    EXPECT_EQ(r.areas.size(), 1u); // the lake, not the pond
    EXPECT_EQ(r.lines.size(), 2u); // the river and the road
}

TEST(OsmExtract, RefusesWhatItCannotRead)
{
    QTemporaryDir dir;
    struct Case
    {
        const char *name;
        QByteArray bytes;
        const char *failure;
    };
    // A PBF's first block header, then nothing of the block it announces.
    QByteArray cut("\x00\x00\x00\x0e\x0a\x09OSMHeader\x18\x80\x01", 18);
    cut += QByteArray(20, '\x07');
    const Case cases[] = {
        {"cut.osm.pbf", cut, "could not be read to its end"},
        {"noise.osm.pbf", QByteArray(200, 'x'), "is no OpenStreetMap extract"},
        {"city.osm.bz2", QByteArray("BZh91AY&SY"), "packed with bzip2"},
        {"half.osm",
         QByteArray("<?xml version=\"1.0\"?>\n<osm version=\"0.6\">\n <node id=\"1\" lat=\"4"),
         "could not be read to its end"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromUtf8(c.name));
        ASSERT_TRUE(writeFileBytes(path, c.bytes));
        const Read r = read(path);
        EXPECT_TRUE(r.result.failure.contains(QString::fromUtf8(c.failure)))
            << r.result.failure.toStdString();
    }
    EXPECT_TRUE(read(dir.filePath("missing.osm")).result.failure.contains("cannot be found"));
}

} // namespace
