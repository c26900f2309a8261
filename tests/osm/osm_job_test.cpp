#include "osm/osm_job.h"

#include "osm_files.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Cell 401, 122 (near 47° N, 8° E); its area 2, 9 holds the lake, the island and the pond.
const GridPlace lakeArea{401, 122, 2, 9};

// A point at fractions of an area's width (from the west) and height (from the south).
OsmNode nodeAt(long long id, const GridPlace &place, double x, double y)
{
    const GeoBounds b = areaBounds(place);
    return {id, b.south + y * (b.north - b.south), b.west + x * (b.east - b.west)};
}

// A lake with an island as a multipolygon relation, a pond as a closed way, a building, a river
// into the next cell to the east, a motorway without lanes and a track with a surface.
QString writeDistrict(const QString &folder, bool water = true)
{
    const GridPlace a = lakeArea;
    std::vector<OsmNode> nodes = {
        nodeAt(1, a, .1, .1),
        nodeAt(2, a, .6, .1),
        nodeAt(3, a, .6, .6),
        nodeAt(4, a, .1, .6),
        nodeAt(5, a, .3, .3),
        nodeAt(6, a, .4, .3),
        nodeAt(7, a, .4, .4),
        nodeAt(8, a, .3, .4),
        nodeAt(9, a, .7, .7),
        nodeAt(10, a, .9, .7),
        nodeAt(11, a, .9, .9),
        nodeAt(12, a, .7, .9),
        nodeAt(20, a, .5, .95),
        // Far east of the area, beyond the cell's east edge (30 areas on).
        nodeAt(21, a, 31.5, .95),
        nodeAt(30, a, .05, .05),
        nodeAt(31, a, .95, .05),
        nodeAt(32, a, .95, .02),
        nodeAt(40, a, .05, .8),
        nodeAt(41, a, .05, .95),
    };
    std::vector<OsmWay> ways = {
        {102, {20, 21}, {{"waterway", "river"}}},
        {103, {30, 31}, {{"highway", "motorway"}}},
        {104, {31, 32}, {{"highway", "track"}, {"surface", "gravel"}}},
        {105, {40, 41}, {{"power", "line"}}},
    };
    std::vector<OsmRelation> relations;
    if (water) {
        ways.push_back({100, {1, 2, 3, 4, 1}, {}});
        ways.push_back({101, {5, 6, 7, 8, 5}, {}});
        ways.push_back({106, {9, 10, 11, 12, 9}, {{"water", "pond"}}});
        relations.push_back({200,
                             {{100, "outer"}, {101, "inner"}},
                             {{"type", "multipolygon"}, {"natural", "water"}}});
    }
    const QString path = QDir(folder).filePath(QStringLiteral("district.osm"));
    writeOsmFile(path, nodes, ways, relations);
    return path;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The fill field of each polygon of an LWM file, in order.
QString fills(const QByteArray &lwm)
{
    QString out;
    static const QRegularExpression poly(QStringLiteral("LWMPoly2(?:Ex)? +\\d+, \\d+, (\\d+),"));
    for (auto m = poly.globalMatch(QString::fromLatin1(lwm)); m.hasNext();)
        out += m.next().captured(1);
    return out;
}

// The line-type codes of a cell's VTP files.
QStringList lineCodes(const QString &folder, int cellColumn, int cellRow)
{
    QStringList codes;
    const QDir dir(folder);
    for (const QString &name :
         dir.entryList({QStringLiteral("VTP_%1_%2*.asm").arg(cellColumn).arg(cellRow)})) {
        static const QRegularExpression texture(QStringLiteral("VTPTextureName (\"\\d+\")"));
        codes << texture.match(QString::fromLatin1(fileBytes(dir.filePath(name)))).captured(1);
    }
    codes.sort();
    return codes;
}

TEST(OsmJob, WritesWaterPerAreaAndLinesPerCell)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    OsmRequest request;
    request.extractPath = writeDistrict(dir.path());
    request.outputFolder = out;
    const OsmOutcome outcome = writeOsmAreas(request);
    ASSERT_EQ(outcome.result, AreasOutcome::Result::Written) << outcome.text.toStdString();
    // One file for the area: the lake and the pond as water, then the island as land.
    const QStringList lwm = QDir(out).entryList({QStringLiteral("LWM_*.asm")});
    ASSERT_EQ(lwm, QStringList{QStringLiteral("LWM_401_122_2_9.asm")});
    EXPECT_EQ(fills(fileBytes(QDir(out).filePath(lwm.first()))), u"001");
    // The river, the motorway (divided asphalt / 4 lanes) and the track (gravel / 1 lane); the
    // river goes on in the next cell.
    EXPECT_EQ(lineCodes(out, 401, 122), (QStringList{"\"1024\"", "\"1143\"", "\"1160\""}));
    EXPECT_EQ(lineCodes(out, 402, 122), QStringList{"\"1024\""});
    for (const char *said :
         {"Water: 2 (natural=water 1, water=pond 1).",
          "Roads: 2 (highway=motorway 1, highway=track 1).", "Waterways: 1 (waterway=river 1).",
          "Mapped by no rule: 1 (power=line 1).", "Rules: the shipped rules."})
        EXPECT_TRUE(outcome.text.contains(QString::fromUtf8(said))) << said << "\n"
                                                                    << outcome.text.toStdString();
}

TEST(OsmJob, TakesWhatItIsAskedFor)
{
    QTemporaryDir dir;
    const QString extract = writeDistrict(dir.path());
    struct Case
    {
        const char *what;
        bool water, roads, waterways;
        std::optional<GeoBounds> box;
        int lwm, vtp;
        const char *said;
    };
    const Case cases[] = {
        {"no roads", true, false, true, {}, 1, 2, "Not taken, as asked: 2 (highway=motorway 1"},
        {"no water", false, true, true, {}, 0, 4, "Not taken, as asked: 2 (natural=water 1"},
        {"no waterways", true, true, false, {}, 1, 2, "Not taken, as asked: 1 (waterway=river"},
        {"the cell", true, true, true, cellBounds(401, 122), 1, 3, "cell 401_122"},
        {"the next cell", true, true, true, cellBounds(402, 122), 0, 1, "holds no water"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir out;
        OsmRequest request;
        request.extractPath = extract;
        request.outputFolder = out.path();
        request.water = c.water;
        request.roads = c.roads;
        request.waterways = c.waterways;
        request.box = c.box;
        const OsmOutcome outcome = writeOsmAreas(request);
        EXPECT_EQ(outcome.result, AreasOutcome::Result::Written);
        EXPECT_EQ(QDir(out.path()).entryList({"LWM_*.asm"}).size(), c.lwm);
        EXPECT_EQ(QDir(out.path()).entryList({"VTP_*.asm"}).size(), c.vtp);
        EXPECT_TRUE(outcome.text.contains(QString::fromUtf8(c.said))) << outcome.text.toStdString();
    }
}

TEST(OsmJob, BadInputWritesNothing)
{
    QTemporaryDir dir;
    QFile cut(dir.filePath(QStringLiteral("cut.osm")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    // Complete enough for GDAL to start on the ways before it finds the end missing.
    QByteArray head = fileBytes(writeDistrict(dir.path()));
    cut.write(head.left(head.indexOf("<relation")));
    cut.close();
    const QString empty = dir.filePath(QStringLiteral("empty.osm"));
    writeOsmFile(empty, {{1, 47, 8}}, {});
    for (const QString &extract : {cut.fileName(), empty}) {
        SCOPED_TRACE(extract.toStdString());
        const QString out = dir.filePath(QStringLiteral("out"));
        OsmRequest request;
        request.extractPath = extract;
        request.outputFolder = out;
        const OsmOutcome outcome = writeOsmAreas(request);
        EXPECT_EQ(outcome.result, AreasOutcome::Result::BadInput) << outcome.text.toStdString();
        EXPECT_FALSE(QDir(out).exists());
    }
}

TEST(OsmJob, ACancelWritesNothing)
{
    QTemporaryDir dir;
    OsmRequest request;
    request.extractPath = writeDistrict(dir.path());
    request.outputFolder = dir.filePath(QStringLiteral("out"));
    int asked = 0;
    AreasHooks hooks;
    hooks.canceled = [&asked] { return ++asked > 2; };
    const OsmOutcome outcome = writeOsmAreas(request, hooks);
    EXPECT_EQ(outcome.result, AreasOutcome::Result::Canceled);
    EXPECT_FALSE(QDir(request.outputFolder).exists());
}

} // namespace
