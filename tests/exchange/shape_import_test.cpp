#include "exchange/shape_reader.h"
#include "exchange/vertex_presses.h"
#include "file_bytes.h"
#include "ogr_files.h"
#include "text/typed_text.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Kind = ShapeCandidate::Kind;

struct FormatCase
{
    const char *what, *driver, *file;
    TestLayer layer;
    Kind kind;
    qsizetype vertices, parts, holes;
    GeoPoint first, last; // latitude, longitude
};

// Web Mercator metres of -122.3, 47.5 and -122.28, 47.52.
const double mercator[] = {-13614373.7240, 6024072.1194, -13612147.3342, 6027368.2211};

TEST(ShapeImport, ReadsEachFormatInDegrees)
{
    char shapefileLine[160];
    std::snprintf(shapefileLine, sizeof shapefileLine, "LINESTRING (%.4f %.4f,%.4f %.4f)",
                  mercator[0], mercator[1], mercator[2], mercator[3]);
    const FormatCase cases[] = {
        {"GPX track",
         "GPX",
         "t.gpx",
         {wkbMultiLineString, {"MULTILINESTRING ((-122.3 47.5,-122.29 47.51,-122.28 47.52))"}},
         Kind::Line,
         3,
         1,
         0,
         {47.5, -122.3},
         {47.52, -122.28}},
        {"GPX route",
         "GPX",
         "r.gpx",
         {wkbLineString, {"LINESTRING (-122.3 47.5,-122.28 47.52)"}},
         Kind::Line,
         2,
         1,
         0,
         {47.5, -122.3},
         {47.52, -122.28}},
        {"GPX waypoints in order",
         "GPX",
         "w.gpx",
         {wkbPoint, {"POINT (-122.3 47.5)", "POINT (-122.29 47.51)", "POINT (-122.28 47.52)"}},
         Kind::Points,
         3,
         1,
         0,
         {47.5, -122.3},
         {47.52, -122.28}},
        {"one GeoJSON point",
         "GeoJSON",
         "p.geojson",
         {wkbPoint, {"POINT (-122.3 47.5)"}},
         Kind::Points,
         1,
         1,
         0,
         {47.5, -122.3},
         {47.5, -122.3}},
        {"KML line with heights",
         "KML",
         "l.kml",
         {wkbLineString25D, {"LINESTRING Z (-122.3 47.5 120,-122.28 47.52 99)"}},
         Kind::Line,
         2,
         1,
         0,
         {47.5, -122.3},
         {47.52, -122.28}},
        {"GeoJSON polygon with a hole",
         "GeoJSON",
         "a.geojson",
         {wkbPolygon, {"POLYGON ((0 0,1 0,1 1,0 1,0 0),(0.2 0.2,0.3 0.2,0.3 0.3,0.2 0.2))"}},
         Kind::Polygon,
         4,
         1,
         1,
         {0, 0},
         {1, 0}},
        {"shapefile in Web Mercator",
         "ESRI Shapefile",
         "m.shp",
         {wkbLineString, {shapefileLine}, {}, 3857},
         Kind::Line,
         2,
         1,
         0,
         {47.5, -122.3},
         {47.52, -122.28}},
        {"GeoPackage, two parts with Z and M",
         "GPKG",
         "z.gpkg",
         {wkbMultiLineStringZM, {"MULTILINESTRING ZM ((5 6 1 2,7 8 3 4),(9 9 9 9,8 8 8 8))"}},
         Kind::Line,
         2,
         2,
         0,
         {6, 5},
         {8, 7}},
    };
    for (const FormatCase &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(c.file);
        ASSERT_TRUE(writeVectorFile(path, c.driver, {c.layer})) << c.what;
        const ShapeListing listing = listShapes(path);
        ASSERT_EQ(listing.failure, "") << c.what;
        ASSERT_EQ(listing.candidates.size(), 1u) << c.what;
        const ShapeCandidate &candidate = listing.candidates[0];
        EXPECT_EQ(candidate.kind, c.kind) << c.what;
        EXPECT_EQ(candidate.vertices, c.vertices) << c.what;
        const ShapeVertices shape = readShape(path, candidate);
        ASSERT_EQ(shape.failure, "") << c.what;
        ASSERT_EQ(qsizetype(shape.vertices.size()), c.vertices) << c.what;
        EXPECT_EQ(shape.parts, c.parts) << c.what;
        EXPECT_EQ(shape.holes, c.holes) << c.what;
        for (auto [got, expected] : {std::pair{shape.vertices.front(), c.first},
                                     std::pair{shape.vertices.back(), c.last}}) {
            EXPECT_NEAR(got.latitude, expected.latitude, 1e-6) << c.what;
            EXPECT_NEAR(got.longitude, expected.longitude, 1e-6) << c.what;
        }
    }
}

TEST(ShapeImport, ListsLinesAndPolygonsForThePicker)
{
    QTemporaryDir dir;
#ifdef Q_OS_WIN
    // Windows allows no double quotes in a file name.
    const QString path = dir.filePath(QStringLiteral("several; \u00abquoted\u00bb name's.geojson"));
#else
    const QString path = dir.filePath("several; \"quoted\" name's.geojson");
#endif
    ASSERT_TRUE(
        writeVectorFile(path, "GeoJSON",
                        {{wkbUnknown,
                          {"POINT (1 1)", "LINESTRING (0 0,1 1,2 2)", "POLYGON ((0 0,1 0,1 1,0 0))",
                           "MULTILINESTRING ((0 0,1 1),(2 2,3 3))"},
                          {"a point", "Main Street"}}}));
    const ShapeListing listing = listShapes(path);
    ASSERT_EQ(listing.failure, "");
    QStringList items;
    for (const ShapeCandidate &c : listing.candidates)
        items << candidateText(c);
    EXPECT_EQ(items, (QStringList{"Main Street: line, 3 vertices", "layer1 3: polygon, 3 vertices",
                                  "layer1 4: line, 2 vertices"}));
    EXPECT_FALSE(listing.more);
    EXPECT_EQ(readShape(path, listing.candidates[2]).parts, 2);
}

struct BadCase
{
    const char *what, *file;
    std::function<void(const QString &)> make;
    const char *reason;
};

void shapefileWithout(const QString &path, const char *suffix)
{
    writeVectorFile(path, "ESRI Shapefile", {{wkbLineString, {"LINESTRING (0 0,1 1)"}}});
    QFile::remove(QString(path).replace(".shp", suffix));
}

TEST(ShapeImport, BadFilesAreRefusedWithAReason)
{
    const BadCase cases[] = {
        {"empty file", "e.gpx", [](const QString &p) { writeFileBytes(p, ""); }, "is empty"},
        {"folder", "f.geojson", [](const QString &p) { QDir().mkdir(p); }, "is a folder"},
        {"missing file", "m.kml", [](const QString &) {}, "does not exist"},
        {"no .shx", "s.shp", [](const QString &p) { shapefileWithout(p, ".shx"); }, ".shx file"},
        {"no .dbf", "d.shp", [](const QString &p) { shapefileWithout(p, ".dbf"); }, ".dbf file"},
        {"corrupt GeoPackage", "c.gpkg",
         [](const QString &p) { writeFileBytes(p, QByteArray("SQLite format 3\0garbage", 23)); },
         "not a vector file"},
        {"text", "t.json", [](const QString &p) { writeFileBytes(p, "{\"no\": \"features\"}"); },
         "not a vector file"},
        {"only attributes", "a.geojson",
         [](const QString &p) {
             writeFileBytes(p, R"({"type":"FeatureCollection","features":[)"
                               R"({"type":"Feature","properties":{"a":1},"geometry":null}]})");
         },
         "no line, polygon or point"},
        {"local coordinate system", "l.shp",
         [](const QString &p) {
             writeVectorFile(p, "ESRI Shapefile",
                             {{wkbLineString, {"LINESTRING (0 0,1 1)"}, {}, 0}});
             writeFileBytes(
                 QString(p).replace(".shp", ".prj"),
                 R"(LOCAL_CS["site grid",UNIT["metre",1],AXIS["X",EAST],AXIS["Y",NORTH]])");
         },
         "cannot be turned into latitude and longitude"},
    };
    for (const BadCase &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(c.file);
        c.make(path);
        ShapeListing listing = listShapes(path);
        QString failure = listing.failure;
        if (failure.isEmpty())
            failure = readShape(path, listing.candidates.at(0)).failure;
        EXPECT_TRUE(failure.contains(c.reason)) << c.what << ": " << failure.toStdString();
        EXPECT_FALSE(failure.contains(u'\n')) << c.what;
    }
}

TEST(ShapeImport, OddVerticesAreSkippedOrRefused)
{
    QTemporaryDir dir;
    // Not a place on the globe, each one: NaN, infinite, huge. GeoPackage keeps them all.
    const QString odd = dir.filePath("odd.gpkg");
    const double inf = INFINITY;
    ASSERT_TRUE(writeVectorFile(
        odd, "GPKG",
        {{wkbLineString, {}, {}, 0, {{1, 1}, {NAN, 2}, {inf, 3}, {1e300, 4}, {2, 2}}}}));
    const ShapeListing listing = listShapes(odd);
    ASSERT_EQ(listing.candidates.size(), 1u);
    const ShapeVertices shape = readShape(odd, listing.candidates[0]);
    ASSERT_EQ(shape.vertices.size(), 5u);
    EXPECT_EQ(vertexPresses({383, 127, 0, 0}, shape.vertices).skipped, 3);

    // One vertex more than an import takes.
    QByteArray wkt = "LINESTRING (0 0";
    for (int i = 1; i <= importVertexLimit; ++i)
        wkt += ",0 " + QByteArray::number(i * 1e-5);
    wkt += ')';
    const QString big = dir.filePath("big.geojson");
    ASSERT_TRUE(writeVectorFile(big, "GeoJSON", {{wkbLineString, {wkt.constData()}}}));
    const ShapeListing bigListing = listShapes(big);
    ASSERT_EQ(bigListing.candidates.size(), 1u);
    EXPECT_EQ(bigListing.candidates[0].vertices, importVertexLimit + 1);
    const ShapeVertices refused = readShape(big, bigListing.candidates[0]);
    EXPECT_TRUE(refused.failure.contains("at most 100000")) << refused.failure.toStdString();
    EXPECT_TRUE(refused.vertices.empty());
}

// The suffix decides the driver, whatever the text inside says, and no driver leaves a file
// beside the one it read.
TEST(ShapeImport, TheSuffixPicksTheDriver)
{
    const QByteArray gpx = R"(<?xml version="1.0"?>
<gpx version="1.1" creator="x" xmlns="http://www.topografix.com/GPX/1/1"><rte>
<name>see http://www.opengis.net/gml</name>
<rtept lat="47.5" lon="-122.3"/><rtept lat="47.52" lon="-122.28"/></rte></gpx>
)";
    const QByteArray gml = R"(<?xml version="1.0"?>
<ogr:FeatureCollection xmlns:ogr="http://ogr.maptools.org/" xmlns:gml="http://www.opengis.net/gml">
<gml:featureMember><ogr:road><ogr:geometryProperty><gml:LineString srsName="EPSG:4326">
<gml:coordinates>-122.3,47.5 -122.28,47.52 -122.27,47.53</gml:coordinates>
</gml:LineString></ogr:geometryProperty><ogr:name>a&#9;b</ogr:name></ogr:road></gml:featureMember>
</ogr:FeatureCollection>
)";
    const struct
    {
        const char *file;
        const QByteArray &text;
        qsizetype vertices; // 0: refused
    } cases[] = {
        {"mentions-gml.gpx", gpx, 2}, {"road.gml", gml, 3},  {"road.xml", gml, 3},
        {"road.gpx", gml, 0},         {"route.kml", gpx, 0},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(c.file);
        ASSERT_TRUE(writeFileBytes(path, c.text));
        const ShapeListing listing = listShapes(path);
        if (c.vertices == 0) {
            EXPECT_TRUE(listing.failure.contains("is not a vector file")) << c.file;
        } else {
            ASSERT_EQ(listing.failure, "") << c.file;
            EXPECT_EQ(readShape(path, listing.candidates.at(0)).vertices.size(),
                      std::size_t(c.vertices))
                << c.file;
            EXPECT_TRUE(isTypedText(listing.candidates.at(0).name)) << c.file;
        }
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{c.file}) << c.file;
    }
}

// A port on this machine that counts who knocks: a file that reached for the network would
// knock here first.
class Listener
{
public:
    Listener() { m_server.listen(QHostAddress::LocalHost); }
    int port() const { return m_server.serverPort(); }
    bool knocked() { return m_server.waitForNewConnection(0); }

private:
    QTcpServer m_server;
};

TEST(ShapeImport, NothingInAFileReachesTheNetwork)
{
    Listener remote;
    ASSERT_GT(remote.port(), 0);
    const QByteArray url = "http://127.0.0.1:" + QByteArray::number(remote.port()) + "/linked.kml";
    QTemporaryDir dir;
    const QString kml = dir.filePath("link.kml");
    ASSERT_TRUE(writeFileBytes(kml, R"(<?xml version="1.0" encoding="UTF-8"?>
<kml xmlns="http://www.opengis.net/kml/2.2"><Document>
<NetworkLink><name>remote</name><Link><href>)"
                                        + url + R"(</href></Link></NetworkLink>
<Placemark><name>here</name><Point><coordinates>-122.3,47.5</coordinates></Point></Placemark>
</Document></kml>)"));
    const ShapeListing listing = listShapes(kml);
    ASSERT_EQ(listing.failure, "");
    ASSERT_EQ(listing.candidates.size(), 1u);
    EXPECT_EQ(readShape(kml, listing.candidates[0]).vertices.size(), 1u);

    const QString vrt = dir.filePath("remote.vrt");
    ASSERT_TRUE(writeFileBytes(vrt, "<OGRVRTDataSource><OGRVRTLayer name=\"r\"><SrcDataSource>"
                                    "/vsicurl/"
                                        + url
                                        + "</SrcDataSource></OGRVRTLayer></OGRVRTDataSource>"));
    EXPECT_NE(listShapes(vrt).failure, "");
    for (const QByteArray &name : {"/vsicurl/" + url, url})
        EXPECT_EQ(listShapes(QString::fromUtf8(name)).failure,
                  "Only files on this computer can be imported.");
    EXPECT_FALSE(remote.knocked());
}

} // namespace
