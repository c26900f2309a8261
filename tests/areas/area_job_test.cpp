#include "areas/area_job.h"

#include "file_bytes.h"
#include "grid/geo_bounds.h"
#include "grid/grid_constants.h"
#include "ogr_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

AreasRequest request(const QString &shapePath, const QString &outputFolder)
{
    AreasRequest r;
    r.shapePath = shapePath;
    r.outputFolder = outputFolder;
    return r;
}

// The third field of every polygon line, in file order: "001" for two water polygons and land.
std::string fills(const QString &path)
{
    std::string out;
    for (const QByteArray &line : fileBytes(path).split('\n')) {
        if (line.startsWith("LWMPoly2"))
            out += line.split(',').value(2).trimmed().toStdString();
    }
    return out;
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
    ASSERT_TRUE(writeFileBytes(empty, {}));
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

// A bow tie is made valid into two triangles; a lake keeps its island, as land over it.
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
    EXPECT_TRUE(outcome.text.contains("Wrote 1 island as land")) << qPrintable(outcome.text);
    // Both triangles of the bow tie and the lake lie in area 2, 27 of cell 123, 120.
    EXPECT_EQ(written(dir.filePath("out")), QStringList{"LWM_123_120_2_27.asm"});
    EXPECT_EQ(fills(dir.filePath("out/LWM_123_120_2_27.asm")), "0001");
    EXPECT_TRUE(outcome.text.contains("LWM_123_120_2_27.asm: 4 polygons, 1 of them land"))
        << qPrintable(outcome.text);
}

const GridPlace home{123, 120, 2, 27};

// A rectangle in fractions of the home area's width and height from its north-west corner.
std::string box(double x0, double y0, double x1, double y1)
{
    const GeoBounds b = areaBounds(home);
    const auto x = [&](double f) { return std::to_string(b.west + f * (b.east - b.west)); };
    const auto y = [&](double f) { return std::to_string(b.north - f * (b.north - b.south)); };
    return "(" + x(x0) + " " + y(y0) + "," + x(x1) + " " + y(y0) + "," + x(x1) + " " + y(y1) + ","
           + x(x0) + " " + y(y1) + "," + x(x0) + " " + y(y0) + ")";
}

struct MaskCase
{
    const char *what;
    std::vector<std::string> polygons;
    LwmFill fill;
    std::map<QString, std::string> files; // name: each polygon's fill in file order
};

// One file an area, water first, then islands; the header counts the polygons.
TEST(WriteAreas, WritesOneFileAnAreaWithItsIslandsOverTheWater)
{
    std::vector<std::string> ponds;
    for (int i = 0; i < 8; ++i)
        ponds.push_back("POLYGON(" + box(0.1 * i + 0.05, 0.1, 0.1 * i + 0.1, 0.2) + ")");
    const MaskCase cases[] = {
        {"a lake with an island, and a pond",
         {"POLYGON(" + box(0.1, 0.1, 0.6, 0.6) + "," + box(0.3, 0.3, 0.4, 0.4) + ")",
          "POLYGON(" + box(0.7, 0.7, 0.9, 0.9) + ")"},
         LwmFill::Water,
         {{"LWM_123_120_2_27.asm", "001"}}},
        {"a lake over two areas, its island in the first",
         {"POLYGON(" + box(0.5, 0.2, 1.5, 0.6) + "," + box(0.6, 0.3, 0.7, 0.4) + ")"},
         LwmFill::Water,
         {{"LWM_123_120_2_27.asm", "01"}, {"LWM_123_120_3_27.asm", "0"}}},
        {"an island in the sea, its pond over it",
         {"POLYGON(" + box(0.1, 0.1, 0.6, 0.6) + "," + box(0.3, 0.3, 0.4, 0.4) + ")"},
         LwmFill::Land,
         {{"LWM_123_120_2_27.asm", "10"}}},
        {"eight ponds", ponds, LwmFill::Water, {{"LWM_123_120_2_27.asm", "00000000"}}},
    };
    for (const MaskCase &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = dir.filePath("in.geojson");
        std::vector<const char *> wkts;
        for (const std::string &w : c.polygons)
            wkts.push_back(w.c_str());
        ASSERT_TRUE(writeVectorFile(path, "GeoJSON", {{wkbPolygon, wkts}}));
        AreasRequest r = request(path, dir.filePath("out"));
        r.fill = c.fill;
        const AreasOutcome outcome = writeAreas(r);
        ASSERT_EQ(outcome.result, AreasOutcome::Result::Written) << qPrintable(outcome.text);
        const bool holes = c.polygons.front().find("),(") != std::string::npos;
        EXPECT_EQ(outcome.text.contains(c.fill == LwmFill::Land
                                            ? "1 hole as water over the land"
                                            : "1 island as land over the water"),
                  holes)
            << qPrintable(outcome.text);
        QStringList names;
        for (const auto &[name, expected] : c.files) {
            names << name;
            const QString file = QDir(r.outputFolder).filePath(name);
            EXPECT_EQ(fills(file), expected) << qPrintable(name);
            const int n = int(expected.size());
            EXPECT_TRUE(fileBytes(file).contains(
                (n <= 6 ? QStringLiteral("LWMDataAreaDrawPolygons %1, 3, 1, ").arg(n)
                        : QStringLiteral("LWMDataAreaDrawPolygonsEx 7, 3, 1, 2, 27, %1").arg(n - 7))
                    .toLatin1()));
        }
        EXPECT_EQ(written(r.outputFolder), names);
    }
}

// A failed move after a file was replaced puts the replaced file back and takes the new ones
// away again: a folder in the way of the second file fails its move.
TEST(WriteAreas, AFailedMoveLeavesTheFolderAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("in.geojson");
    const std::string lake = "POLYGON(" + box(0.5, 0.2, 1.5, 0.6) + ")";
    ASSERT_TRUE(writeVectorFile(path, "GeoJSON", {{wkbPolygon, {lake.c_str()}}}));
    const QDir out(dir.filePath("out"));
    ASSERT_TRUE(out.mkpath("LWM_123_120_3_27.asm"));
    ASSERT_TRUE(writeFileBytes(out.filePath("LWM_123_120_2_27.asm"), "earlier"));

    const AreasOutcome outcome = writeAreas(request(path, out.path()));
    EXPECT_EQ(outcome.result, AreasOutcome::Result::BadInput);
    EXPECT_TRUE(outcome.text.contains("the folder is as it was")) << qPrintable(outcome.text);
    EXPECT_EQ(fileBytes(out.filePath("LWM_123_120_2_27.asm")), "earlier");
    EXPECT_EQ(out.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{"LWM_123_120_2_27.asm", "LWM_123_120_3_27.asm"}));
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
    EXPECT_TRUE(fileBytes(QDir(r.outputFolder).filePath("VTP_123_120.asm"))
                    .contains("VTPTextureName \"1139\"  ;asphalt / 2 lanes\r\n"));

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

// A cancel takes effect within a polygon over a thousand areas, long before its end.
TEST(WriteAreas, CancelTakesEffectWithinOnePolygon)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("in.geojson");
    const std::string sea = "POLYGON(" + box(0, 0, 40.5, 30.5) + ")";
    ASSERT_TRUE(writeVectorFile(path, "GeoJSON", {{wkbPolygon, {sea.c_str()}}}));
    // Asked once after each feature only, the cancel would not be seen: the file has one.
    int asked = 0;
    const AreasOutcome outcome =
        writeAreas(request(path, dir.filePath("out")), {{}, [&] { return ++asked >= 50; }});
    EXPECT_EQ(outcome.result, AreasOutcome::Result::Canceled);
    EXPECT_TRUE(outcome.text.contains("Canceled")) << qPrintable(outcome.text);
    EXPECT_LE(asked, 51); // nothing more was cut once it said so
    EXPECT_FALSE(QDir(dir.filePath("out")).exists());
}

} // namespace
