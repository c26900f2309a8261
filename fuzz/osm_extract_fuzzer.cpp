// An OpenStreetMap extract written by the osm job, from the extract's reading by GDAL to the
// files in the folder. The extract is either made of nodes, ways and multipolygons around one
// area (tags a rules file maps or not, ways with missing nodes, rings open or closed, members
// missing), or any bytes as a .osm or .osm.pbf file. The rules are the shipped ones or any
// text the rules reader takes. Checks: a refusal or a write says why in words and leaves no
// output folder; a write puts into the folder exactly the files it names, no more; every LWM
// and VTP file reads back and writes the very same bytes; the summary's counts of files and
// polygons are those of the folder; with a box, only areas and cells it meets get a file;
// the reader leaves nothing in the temporary folder.
#include "fuzz_support.h"
#include "osm/osm_job.h"
#include "workfile/source_reading.h"
#include "workfile/work_file.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <map>

namespace {

// Cell 401, 122 near 47° N, 8° E: its area 2, 9 and the ones around it.
const GridPlace home{401, 122, 2, 9};

struct Folders
{
    QString base, temp;
};

// The temporary folder is one of the target's own, so that anything the driver leaves in it
// is seen; set before GDAL or Qt first ask for it.
const Folders &folders()
{
    static const Folders f = [] {
        Folders made{fuzzFolder("osm_extract-files"), {}};
        made.temp = QDir(made.base).filePath(QStringLiteral("tmp"));
        FUZZ_CHECK(QDir().mkpath(made.temp));
        qputenv("TMPDIR", QFile::encodeName(made.temp));
        return made;
    }();
    return f;
}

const std::pair<const char *, const char *> someTags[] = {
    {"natural", "water"},
    {"water", "pond"},
    {"place", "island"},
    {"landuse", "basin"},
    {"waterway", "river"},
    {"waterway", "drain"},
    {"highway", "motorway"},
    {"highway", "track"},
    {"highway", "residential"},
    {"highway", "footway"},
    {"building", "yes"},
    {"lanes", "3"},
    {"lanes", "x"},
    {"surface", "gravel"},
    {"oneway", "yes"},
    {"name", "A \"q\" & <b>"},
    {"area", "yes"},
    {"power", "line"},
};

QByteArray tagLines(FuzzedDataProvider &data)
{
    QByteArray xml;
    const int n = data.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < n; ++i) {
        const auto &[k, v] =
            someTags[data.ConsumeIntegralInRange<std::size_t>(0, std::size(someTags) - 1)];
        xml += QStringLiteral("  <tag k=\"%1\" v=\"%2\"/>\n")
                   .arg(QString::fromUtf8(k).toHtmlEscaped(), QString::fromUtf8(v).toHtmlEscaped())
                   .toUtf8();
    }
    return xml;
}

// Up to 24 nodes from half an area west and south of it to half an area beyond, or at times
// far off in the next cell; ways of their nodes (a few that the extract lacks); multipolygons
// of the ways.
QByteArray madeExtract(FuzzedDataProvider &data)
{
    const GeoBounds area = areaBounds(home);
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osm version=\"0.6\">\n";
    const int nodes = data.ConsumeIntegralInRange(1, 24);
    for (int id = 1; id <= nodes; ++id) {
        const auto at = [&data] {
            const std::uint8_t v = data.ConsumeIntegral<std::uint8_t>();
            return v == 255 ? 31.5 : (v - 64) / 128.0;
        };
        const double x = at(), y = at();
        xml += QStringLiteral(" <node id=\"%1\" lat=\"%2\" lon=\"%3\"/>\n")
                   .arg(id)
                   .arg(area.south + y * (area.north - area.south), 0, 'f', 7)
                   .arg(area.west + x * (area.east - area.west), 0, 'f', 7)
                   .toUtf8();
    }
    const int ways = data.ConsumeIntegralInRange(0, 8);
    for (int w = 1; w <= ways; ++w) {
        xml += QStringLiteral(" <way id=\"%1\">\n").arg(100 + w).toUtf8();
        const int length = data.ConsumeIntegralInRange(0, 12);
        int first = 0;
        for (int i = 0; i < length; ++i) {
            const int ref = data.ConsumeIntegralInRange(1, nodes + 2);
            first = i == 0 ? ref : first;
            xml += QStringLiteral("  <nd ref=\"%1\"/>\n").arg(ref).toUtf8();
        }
        if (length > 2 && data.ConsumeBool())
            xml += QStringLiteral("  <nd ref=\"%1\"/>\n").arg(first).toUtf8();
        xml += tagLines(data) + " </way>\n";
    }
    const int relations = data.ConsumeIntegralInRange(0, 3);
    for (int r = 1; r <= relations; ++r) {
        xml += QStringLiteral(" <relation id=\"%1\">\n").arg(200 + r).toUtf8();
        const int members = data.ConsumeIntegralInRange(0, 4);
        for (int m = 0; m < members; ++m)
            xml += QStringLiteral("  <member type=\"way\" ref=\"%1\" role=\"%2\"/>\n")
                       .arg(100 + data.ConsumeIntegralInRange(1, ways + 1))
                       .arg(data.ConsumeBool() ? QStringLiteral("outer") : QStringLiteral("inner"))
                       .toUtf8();
        xml += "  <tag k=\"type\" v=\"multipolygon\"/>\n" + tagLines(data) + " </relation>\n";
    }
    return xml + "</osm>\n";
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The files a folder holds, hidden ones included.
QStringList filesIn(const QString &folder)
{
    QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

// What the folder holds, per cell, as the summary counts it.
struct CellFiles
{
    int lwm = 0, vtp = 0;
    qint64 water = 0, land = 0;
    bool operator==(const CellFiles &) const = default;
};
using Cells = std::map<std::pair<int, int>, CellFiles>;

// A written file reads back as the window would open it and writes the same bytes again; it
// names an area or a cell that the box meets. It is counted into `cells`, and an LWM file's
// polygons into `polygons` by name.
void checkWritten(const QString &folder, const QString &name, const std::optional<GeoBounds> &box,
                  Cells &cells, std::map<QString, CellFiles> &polygons)
{
    static const QRegularExpression lwmName(
        QStringLiteral("^LWM_(\\d+)_(\\d+)_(\\d+)_(\\d+)\\.asm$"));
    static const QRegularExpression vtpName(QStringLiteral("^VTP_(\\d+)_(\\d+)(_\\d+)?\\.asm$"));
    const QByteArray bytes = fileBytes(QDir(folder).filePath(name));
    GeoBounds where{};
    try {
        if (const QRegularExpressionMatch m = lwmName.match(name); m.hasMatch()) {
            const LwmReading read = readLwmSource(bytes, QLocale::c());
            const LwmAreaInputs area = lwmAreaInputs(read);
            FUZZ_CHECK(lwmAreaText(area, QLocale::c()) == bytes);
            where = areaBounds(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                               m.captured(4).toInt());
            CellFiles &cell = cells[{m.captured(1).toInt(), m.captured(2).toInt()}];
            CellFiles &file = polygons[name];
            ++cell.lwm;
            for (const LwmPolygon &p : area.polygons)
                ++(p.fill == LwmFill::Water ? file.water : file.land);
            cell.water += file.water;
            cell.land += file.land;
        } else {
            const QRegularExpressionMatch v = vtpName.match(name);
            FUZZ_CHECK(v.hasMatch());
            const VtpReading read = readVtpSource(bytes, QLocale::c());
            FUZZ_CHECK(vtpSourceText(read.inputs, QLocale::c()) == bytes);
            where = cellBounds(v.captured(1).toInt(), v.captured(2).toInt());
            ++cells[{v.captured(1).toInt(), v.captured(2).toInt()}].vtp;
        }
    } catch (const OpenFault &f) {
        std::fprintf(stderr, "%s does not read back: %s\n", qPrintable(name), qPrintable(f.text));
        FUZZ_CHECK(false);
    }
    if (box) {
        const GeoBounds edges = areaEdges(*box);
        FUZZ_CHECK(where.west < edges.east && where.east > edges.west);
        FUZZ_CHECK(where.south < edges.north && where.north > edges.south);
    }
}

// "3 polygons, 1 of them land", "1 polygon, all land" or "2 polygons".
CellFiles polygonsSaid(const QString &text)
{
    static const QRegularExpression said(
        QStringLiteral("^(\\d+) polygons?(?:, (all land|(\\d+) of them land))?$"));
    const QRegularExpressionMatch m = said.match(text);
    FUZZ_CHECK(m.hasMatch());
    CellFiles out;
    const qint64 all = m.captured(1).toLongLong();
    out.land = m.captured(2) == u"all land" ? all : m.captured(3).toLongLong();
    out.water = all - out.land;
    return out;
}

// The summary's counts of files, per cell, and of each named area's polygons are those of
// the files in the folder.
void checkSummary(const QString &text, qsizetype files, const Cells &cells,
                  const std::map<QString, CellFiles> &polygons)
{
    static const QRegularExpression wrote(QStringLiteral("^Wrote (\\d+) files? from "));
    static const QRegularExpression cellLine(
        QStringLiteral("^  cell (\\d+)_(\\d+): (?:(\\d+) LWM with ([^,]+(?:, [^,]+ land)?))?"
                       "(?:, )?(?:(\\d+) VTP)?$"));
    static const QRegularExpression areaLine(QStringLiteral("^    (LWM_\\S+): (.+)$"));
    const QStringList lines = text.split(u'\n');
    const QRegularExpressionMatch w = wrote.match(lines.first());
    FUZZ_CHECK(w.hasMatch() && w.captured(1).toLongLong() == files);
    Cells said;
    for (const QString &line : lines) {
        if (const QRegularExpressionMatch c = cellLine.match(line); c.hasMatch()) {
            CellFiles &cell = said[{c.captured(1).toInt(), c.captured(2).toInt()}];
            cell.lwm = c.captured(3).toInt();
            cell.vtp = c.captured(5).toInt();
            if (cell.lwm > 0) {
                const CellFiles p = polygonsSaid(c.captured(4));
                cell.water = p.water;
                cell.land = p.land;
            }
        } else if (const QRegularExpressionMatch a = areaLine.match(line); a.hasMatch()) {
            FUZZ_CHECK(polygons.count(a.captured(1)) == 1);
            FUZZ_CHECK(polygonsSaid(a.captured(2)) == polygons.at(a.captured(1)));
        }
    }
    FUZZ_CHECK(said == cells);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    const Folders &at = folders();
    FuzzedDataProvider data(bytes, size);
    const std::uint8_t mode = data.ConsumeIntegral<std::uint8_t>();

    OsmRequest request;
    request.water = mode & 2;
    request.roads = mode & 4;
    request.waterways = mode & 8;
    if (!request.water && !request.roads && !request.waterways)
        request.water = true;
    switch ((mode >> 4) % 3) {
    case 1:
        request.box = cellBounds(home.cellColumn, home.cellRow);
        break;
    case 2:
        request.box = areaBounds(home);
        break;
    }
    if (mode & 64) {
        const OsmRulesOrError rules = readOsmRules(fuzzText(data, 200));
        if (rules.failure.isEmpty()) {
            request.rules = rules.rules;
            request.rulesPath = QStringLiteral("fuzzed.rules");
        }
    }
    const bool any = mode & 1;
    const QByteArray extract =
        any ? QByteArray::fromStdString(data.ConsumeRemainingBytesAsString()) : madeExtract(data);
    request.extractPath = QDir(at.base).filePath(any && (mode & 128) ? QStringLiteral("in.osm.pbf")
                                                                     : QStringLiteral("in.osm"));
    request.outputFolder = QDir(at.base).filePath(QStringLiteral("out"));
    {
        QFile file(request.extractPath);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(extract) == extract.size());
    }

    const OsmOutcome outcome = writeOsmAreas(request);
    FUZZ_CHECK(!outcome.text.trimmed().isEmpty());
    FUZZ_CHECK(filesIn(at.temp).isEmpty());
    if (outcome.result != AreasOutcome::Result::Written) {
        FUZZ_CHECK(outcome.result == AreasOutcome::Result::BadInput && outcome.written.isEmpty());
        FUZZ_CHECK(!QFileInfo::exists(request.outputFolder));
    } else {
        QStringList named = outcome.written;
        named.sort();
        FUZZ_CHECK(!named.isEmpty() && named == filesIn(request.outputFolder));
        Cells cells;
        std::map<QString, CellFiles> polygons;
        for (const QString &name : named)
            checkWritten(request.outputFolder, name, request.box, cells, polygons);
        checkSummary(outcome.text, named.size(), cells, polygons);
        FUZZ_CHECK(QDir(request.outputFolder).removeRecursively());
    }
    FUZZ_CHECK(QFile::remove(request.extractPath));
    return 0;
}
