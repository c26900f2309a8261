#include "osm/osm_job.h"

#include "areas/area_files.h"
#include "grid/grid_constants.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <ogr_geometry.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

QString quoted(const QString &text)
{
    return QStringLiteral("\u201c%1\u201d").arg(text);
}

qint64 total(const OsmUse::Counts &counts)
{
    qint64 n = 0;
    for (const auto &[kind, count] : counts)
        n += count;
    return n;
}

// "12 (highway=primary 8, highway=track 4)", the most frequent first, at most `named` of them.
QString countsText(const OsmUse::Counts &counts, int named = 8)
{
    std::vector<std::pair<QString, qint64>> sorted(counts.begin(), counts.end());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto &a, const auto &b) { return a.second > b.second; });
    QStringList parts;
    for (const auto &[kind, count] : sorted) {
        if (parts.size() == named) {
            parts << QStringLiteral("%1 more kinds").arg(qsizetype(sorted.size()) - named);
            break;
        }
        parts << QStringLiteral("%1 %2").arg(kind).arg(count);
    }
    return QStringLiteral("%L1 (%2)").arg(total(counts)).arg(parts.join(QStringLiteral(", ")));
}

// Hands the extract's features to the areas job as the rules say, counting each.
class Classifier
{
public:
    Classifier(const OsmRequest &request, OsmUse &use, const ShapeTakers &take)
        : m_request(request), m_use(use), m_take(take)
    {
        if (request.box) {
            const GeoBounds edges = areaEdges(*request.box);
            auto *ring = new OGRLinearRing;
            ring->addPoint(edges.west, edges.south);
            ring->addPoint(edges.east, edges.south);
            ring->addPoint(edges.east, edges.north);
            ring->addPoint(edges.west, edges.north);
            ring->closeRings();
            m_clip = std::make_unique<OGRPolygon>();
            m_clip->addRingDirectly(ring);
        }
    }

    // False when the areas job can take no more.
    bool feature(const OGRGeometry &geometry, const OsmTags &tags, bool area)
    {
        const QString kind = featureKind(tags);
        const OsmRule *rule =
            area ? areaRule(m_request.rules, tags) : lineRule(m_request.rules, tags);
        if (!rule) {
            ++m_use.unmapped[kind];
            return true;
        }
        switch (rule->kind) {
        case OsmRule::Kind::Skip:
            ++m_use.skipped[kind];
            return true;
        case OsmRule::Kind::Water:
        case OsmRule::Kind::Land:
            if (!m_request.water)
                break;
            ++(rule->kind == OsmRule::Kind::Water ? m_use.water : m_use.land)[kind];
            return m_take.polygon(geometry, rule->kind == OsmRule::Kind::Water ? LwmFill::Water
                                                                               : LwmFill::Land);
        case OsmRule::Kind::Road:
        case OsmRule::Kind::Line:
            if (!(rule->kind == OsmRule::Kind::Road ? m_request.roads : m_request.waterways))
                break;
            ++(rule->kind == OsmRule::Kind::Road ? m_use.roads : m_use.waterways)[kind];
            return line(geometry, *rule, tags);
        }
        ++m_use.notTaken[kind];
        return true;
    }

private:
    bool line(const OGRGeometry &geometry, const OsmRule &rule, const OsmTags &tags)
    {
        SourceChoices choices;
        choices.altitude = m_request.altitude;
        choices.lineType = lineTypeFor(rule, tags);
        choices.width = rule.width;
        choices.layer = rule.layer;
        if (!m_clip)
            return m_take.line(geometry, choices);
        // A line is cut where it leaves the box, so that it adds to no cell beyond it.
        const std::unique_ptr<OGRGeometry> inside(geometry.Intersection(m_clip.get()));
        return !inside || inside->IsEmpty() || m_take.line(*inside, choices);
    }

    const OsmRequest &m_request;
    OsmUse &m_use;
    const ShapeTakers &m_take;
    std::unique_ptr<OGRPolygon> m_clip;
};

} // namespace

OsmBoxOrError osmBox(double west, double south, double east, double north)
{
    OsmBoxOrError out;
    for (double v : {west, south, east, north}) {
        if (!std::isfinite(v)) {
            out.failure = QStringLiteral("The box takes four numbers: west, south, east, north.");
            return out;
        }
    }
    if (west < -180 || east > 180 || west >= east)
        out.failure = QStringLiteral("The box's west and east lie from -180 to 180, west before "
                                     "east.");
    else if (south <= -90 || north >= 90 || south >= north)
        out.failure = QStringLiteral("The box's south and north lie between -90 and 90, south "
                                     "below north.");
    else
        out.box = {north, south, west, east};
    return out;
}

namespace {

std::vector<double> numbers(const QString &text)
{
    std::vector<double> out;
    for (const QString &word :
         text.split(QRegularExpression(QStringLiteral("[\\s,;]+")), Qt::SkipEmptyParts)) {
        bool ok = false;
        out.push_back(QLocale::c().toDouble(word, &ok));
        if (!ok)
            out.back() = std::nan("");
    }
    return out;
}

} // namespace

OsmBoxOrError readOsmCell(const QString &text)
{
    const std::vector<double> n = numbers(text);
    if (n.size() != 2 || !(n[0] >= 0 && n[0] <= lod::lastCellColumn)
        || !(n[1] >= 0 && n[1] <= lod::lastCellRow) || n[0] != std::floor(n[0])
        || n[1] != std::floor(n[1]))
        return {{},
                QStringLiteral("A cell is two whole numbers: its column, 0 to 767, and its "
                               "row, 0 to 511.")};
    return {cellBounds(int(n[0]), int(n[1])), {}};
}

OsmBoxOrError readOsmBox(const QString &text)
{
    const std::vector<double> n = numbers(text);
    if (n.size() != 4)
        return {{}, QStringLiteral("The box takes four numbers: west, south, east, north.")};
    return osmBox(n[0], n[1], n[2], n[3]);
}

OsmRulesOrError loadOsmRules(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{},
                QStringLiteral("The rules file %1 cannot be read: %2.")
                    .arg(quoted(QDir::toNativeSeparators(path)), file.errorString())};
    OsmRulesOrError read = readOsmRules(QString::fromUtf8(file.readAll()));
    if (!read.failure.isEmpty())
        read.failure = QStringLiteral("The rules file %1 was refused. %2")
                           .arg(quoted(QDir::toNativeSeparators(path)), read.failure);
    return read;
}

GeoBounds areaEdges(const GeoBounds &box)
{
    // The north-east corner a hair inside, so that a box ending on an area's edge stops there.
    const GeoBounds first = areaBounds(placeOf({box.south, box.west}));
    const GeoBounds last = areaBounds(placeOf({box.north - 1e-9, box.east - 1e-9}));
    return {last.north, first.south, first.west, last.east};
}

QString osmUseSummary(const OsmRequest &request, const OsmUse &use)
{
    QStringList lines;
    lines << QStringLiteral("Rules: %1.")
                 .arg(request.rulesPath.isEmpty()
                          ? QStringLiteral("the shipped rules")
                          : quoted(QDir::toNativeSeparators(request.rulesPath)));
    const std::pair<const char *, const OsmUse::Counts *> taken[] = {
        {"Water", &use.water},
        {"Land", &use.land},
        {"Roads", &use.roads},
        {"Waterways", &use.waterways},
    };
    for (const auto &[what, counts] : taken) {
        if (!counts->empty())
            lines << QStringLiteral("%1: %2.").arg(QLatin1String(what), countsText(*counts));
    }
    if (request.water && use.water.empty() && use.land.empty())
        lines << QStringLiteral("The extract holds no water the rules take.");
    if ((request.roads || request.waterways) && use.roads.empty() && use.waterways.empty())
        lines << QStringLiteral("The extract holds no roads or waterways the rules take.");
    if (!use.notTaken.empty())
        lines << QStringLiteral("Not taken, as asked: %1.").arg(countsText(use.notTaken));
    if (!use.skipped.empty())
        lines << QStringLiteral("Left out by a skip rule: %1.").arg(countsText(use.skipped));
    if (!use.unmapped.empty())
        lines << QStringLiteral("Mapped by no rule: %1.").arg(countsText(use.unmapped));
    const OsmReadTally &r = use.read;
    auto many = [](qint64 n, const char *one, const char *more) {
        return QStringLiteral("%L1 %2").arg(n).arg(QLatin1String(n == 1 ? one : more));
    };
    if (r.waysShort > 0)
        lines << QStringLiteral("%1 nodes the extract does not hold; taken with the nodes it "
                                "holds.")
                     .arg(many(r.waysShort, "way lacks", "ways lack"));
    if (r.waysDropped > 0)
        lines << QStringLiteral("Left out %1: fewer than 2 of the nodes are in the extract.")
                     .arg(many(r.waysDropped, "way", "ways"));
    if (r.relationsMissing > 0)
        lines << QStringLiteral("Left out %1: ways it is made of are not in the extract.")
                     .arg(many(r.relationsMissing, "multipolygon", "multipolygons"));
    if (r.ringsOpen > 0)
        lines << QStringLiteral("Left out %1 whose ring does not close.")
                     .arg(many(r.ringsOpen, "multipolygon", "multipolygons"));
    return lines.join(u'\n');
}

QString osmRequestProblem(const OsmRequest &request)
{
    if (request.extractPath.trimmed().isEmpty())
        return QStringLiteral("Name the OpenStreetMap extract to read.");
    if (request.outputFolder.trimmed().isEmpty())
        return QStringLiteral("Name the folder the files go into.");
    if (!request.water && !request.roads && !request.waterways)
        return QStringLiteral("Take water, roads or waterways: there is nothing else to write.");
    return lwmAltitudeProblem(request.altitude);
}

OsmOutcome writeOsmAreas(const OsmRequest &request, const AreasHooks &hooks)
{
    AreasRequest areas;
    areas.shapePath = request.extractPath;
    areas.outputFolder = request.outputFolder;
    areas.choices.altitude = request.altitude;
    if (request.box)
        areas.within = areaEdges(*request.box);
    OsmUse use;
    const ShapeSource source = [&](const ShapeTakers &take) {
        Classifier classifier(request, use, take);
        OsmReading reading{request.extractPath, areas.within, request.rules.areaTags()};
        bool full = false;
        OsmFeatureSink sink;
        sink.feature = [&](const OGRGeometry &g, const OsmTags &tags, bool area) {
            full = full || !classifier.feature(g, tags, area);
        };
        sink.progress = [&hooks](double fraction) {
            if (hooks.progress)
                hooks.progress(qint64(fraction * 1000), 1000);
        };
        sink.canceled = [&] { return full || (hooks.canceled && hooks.canceled()); };
        const OsmReadResult read = readOsmExtract(reading, sink);
        use.read = read.tally;
        return read.failure;
    };
    const AreasOutcome outcome = writeAreaShapes(areas, source, hooks);
    // An extract that could not be read says only why; one that was read says what was used.
    const bool read = !use.unmapped.empty() || !use.skipped.empty() || !use.notTaken.empty()
                      || !use.water.empty() || !use.land.empty() || !use.roads.empty()
                      || !use.waterways.empty();
    if (outcome.result == AreasOutcome::Result::Canceled || !read)
        return {outcome.result, outcome.text, outcome.written};
    return {outcome.result, outcome.text + u'\n' + osmUseSummary(request, use), outcome.written};
}
