#include "osm/osm_job.h"

#include "file_bytes.h"
#include "osm_files.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Cell 401, 122 (near 47° N, 8° E); its area 2, 9 holds the lake, the island and the pond.
const GridPlace lakeArea{401, 122, 2, 9};

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
    request.extractPath = writeDistrict(dir.path(), lakeArea);
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
    const QString extract = writeDistrict(dir.path(), lakeArea);
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
    const QString cut = dir.filePath(QStringLiteral("cut.osm"));
    // Complete enough for GDAL to start on the ways before it finds the end missing.
    const QByteArray head = fileBytes(writeDistrict(dir.path(), lakeArea));
    ASSERT_TRUE(writeFileBytes(cut, head.left(head.indexOf("<relation"))));
    const QString empty = dir.filePath(QStringLiteral("empty.osm"));
    writeOsmFile(empty, {{1, 47, 8}}, {});
    for (const QString &extract : {cut, empty}) {
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
    request.extractPath = writeDistrict(dir.path(), lakeArea);
    request.outputFolder = dir.filePath(QStringLiteral("out"));
    int asked = 0;
    AreasHooks hooks;
    hooks.canceled = [&asked] { return ++asked > 2; };
    const OsmOutcome outcome = writeOsmAreas(request, hooks);
    EXPECT_EQ(outcome.result, AreasOutcome::Result::Canceled);
    EXPECT_FALSE(QDir(request.outputFolder).exists());
}

} // namespace
