#include "areas/area_job.h"

#include "grid/grid_constants.h"
#include "ogr_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

AreasRequest request(const QString &shapePath, const QString &outputFolder)
{
    AreasRequest r;
    r.shapePath = shapePath;
    r.outputFolder = outputFolder;
    return r;
}

QStringList written(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.asm")}, QDir::Files, QDir::Name);
}

struct BadInput
{
    const char *what;
    std::vector<TestLayer> layers;
    const char *message;
    qint64 vertexLimit = areasVertexLimit;
};

TEST(WriteAreas, RefusesBadInputAndWritesNothing)
{
    const BadInput cases[] = {
        {"only points", {{wkbPoint, {"POINT(-122.3 47.5)", "POINT(-122.2 47.5)"}}}, "only points"},
        {"across the antimeridian",
         {{wkbPolygon,
           {"POLYGON((-122.3 47.5,-122.2 47.5,-122.2 47.6,-122.3 47.5))",
            "POLYGON((179.9 10,-179.9 10,-179.9 10.1,179.9 10))"}}},
         "antimeridian"},
        {"touching a pole", {{wkbPolygon, {"POLYGON((0 89.9,1 89.9,1 90,0 89.9))"}}}, "pole"},
        {"a line to a pole", {{wkbLineString, {"LINESTRING(0 -89.9,0 -90)"}}}, "pole"},
        {"beyond the globe", {{wkbLineString, {"LINESTRING(0 10,500 10)"}}}, "no latitude"},
        {"too many vertices",
         {{wkbPolygon,
           {"POLYGON((-122.3 47.5,-122.2 47.5,-122.2 47.6,-122.25 47.65,-122.3 47.5))",
            "POLYGON((-122.3 47.5,-122.2 47.5,-122.2 47.6,-122.3 47.5))"}}},
         "holds 9 vertices",
         6},
    };
    for (const BadInput &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = dir.filePath("in.geojson");
        ASSERT_TRUE(writeVectorFile(path, "GeoJSON", c.layers));
        AreasRequest r = request(path, dir.filePath("out"));
        r.vertexLimit = c.vertexLimit;
        const AreasOutcome outcome = writeAreas(r);
        EXPECT_EQ(outcome.result, AreasOutcome::Result::BadInput);
        EXPECT_TRUE(outcome.text.contains(QLatin1String(c.message))) << qPrintable(outcome.text);
        EXPECT_TRUE(written(r.outputFolder).isEmpty());
    }
}

TEST(WriteAreas, RefusesAnEmptyFileAndAFolderItCannotMake)
{
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.geojson");
    QFile(empty).open(QIODevice::WriteOnly);
    AreasOutcome outcome = writeAreas(request(empty, dir.filePath("out")));
    EXPECT_EQ(outcome.result, AreasOutcome::Result::BadInput);
    EXPECT_TRUE(outcome.text.contains("is empty")) << qPrintable(outcome.text);

    const QString lake = dir.filePath("lake.geojson");
    ASSERT_TRUE(writeVectorFile(
        lake, "GeoJSON",
        {{wkbPolygon, {"POLYGON((-122.31 47.51,-122.30 47.51,-122.30 47.515,-122.31 47.51))"}}}));
    outcome = writeAreas(request(lake, empty + "/out"));
    EXPECT_EQ(outcome.result, AreasOutcome::Result::BadInput);
    EXPECT_TRUE(outcome.text.contains("cannot be made")) << qPrintable(outcome.text);
}

// A bow tie is made valid into two triangles; a lake with an island loses the island.
TEST(WriteAreas, RepairsAndReportsWhatItChanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("in.geojson");
    ASSERT_TRUE(writeVectorFile(
        path, "GeoJSON",
        {{wkbPolygon,
          {"POLYGON((-122.312 47.512,-122.308 47.508,-122.312 47.508,-122.308 47.512,-122.312 "
           "47.512))",
           "POLYGON((-122.304 47.512,-122.300 47.512,-122.300 47.508,-122.304 47.508,-122.304 "
           "47.512),"
           "(-122.303 47.511,-122.301 47.511,-122.301 47.509,-122.303 47.511))"}}}));
    const AreasOutcome outcome = writeAreas(request(path, dir.filePath("out")));
    ASSERT_EQ(outcome.result, AreasOutcome::Result::Written) << qPrintable(outcome.text);
    EXPECT_TRUE(outcome.text.contains("Made 1 polygon valid")) << qPrintable(outcome.text);
    EXPECT_TRUE(outcome.text.contains("Left out 1 island")) << qPrintable(outcome.text);
    // Both triangles of the bow tie and the lake lie in area 2, 27 of cell 123, 120.
    EXPECT_EQ(
        written(dir.filePath("out")),
        (QStringList{"LWM_123_120_2_27.asm", "LWM_123_120_2_27_2.asm", "LWM_123_120_2_27_3.asm"}));
}

TEST(WriteAreas, PicksOneShapeByName)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("in.gpkg");
    const double edge = -180 + 124 * lod::cellWidth;
    const std::string road = "LINESTRING(" + std::to_string(edge - 0.01) + " 47.5,"
                             + std::to_string(edge + 0.01) + " 47.5)";
    ASSERT_TRUE(
        writeVectorFile(path, "GPKG",
                        {{wkbPolygon,
                          {"POLYGON((-122.31 47.51,-122.30 47.51,-122.30 47.515,-122.31 47.51))"},
                          {"Lake"}},
                         {wkbLineString, {road.c_str()}, {"Road"}}}));
    SourceChoices choices;
    choices.lineType = "\"1139\"  ;asphalt / 2 lanes";
    AreasRequest r = request(path, dir.filePath("road"));
    r.shape = "Road";
    r.choices = choices;
    ASSERT_EQ(writeAreas(r).result, AreasOutcome::Result::Written);
    EXPECT_EQ(written(r.outputFolder), (QStringList{"VTP_123_120.asm", "VTP_124_120.asm"}));
    QFile west(QDir(r.outputFolder).filePath("VTP_123_120.asm"));
    ASSERT_TRUE(west.open(QIODevice::ReadOnly));
    EXPECT_TRUE(west.readAll().contains("VTPTextureName \"1139\"  ;asphalt / 2 lanes\r\n"));

    r.outputFolder = dir.filePath("all");
    r.shape.clear();
    ASSERT_EQ(writeAreas(r).result, AreasOutcome::Result::Written);
    EXPECT_EQ(written(r.outputFolder).size(), 3);

    r.shape = "River";
    const AreasOutcome outcome = writeAreas(r);
    EXPECT_EQ(outcome.result, AreasOutcome::Result::BadInput);
    EXPECT_TRUE(outcome.text.contains("no layer or feature named")) << qPrintable(outcome.text);
}

TEST(WriteAreas, CancelLeavesTheFolderEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("in.geojson");
    ASSERT_TRUE(writeVectorFile(
        path, "GeoJSON",
        {{wkbPolygon, {"POLYGON((-122.31 47.51,-122.30 47.51,-122.30 47.515,-122.31 47.51))"}}}));
    qint64 reported = 0;
    const AreasOutcome outcome = writeAreas(
        request(path, dir.filePath("out")),
        {[&](qint64 done, qint64 total) { reported = done * 10 + total; }, [] { return true; }});
    EXPECT_EQ(outcome.result, AreasOutcome::Result::Canceled);
    EXPECT_EQ(reported, 11);
    EXPECT_TRUE(written(dir.filePath("out")).isEmpty());
}

} // namespace
