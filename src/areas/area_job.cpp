#include "areas/area_job.h"

#include "areas/area_masks.h"
#include "areas/line_parts.h"
#include "exchange/vector_file.h"
#include "writers/line_types.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

namespace {

// More files than this in one folder help no one; a shape that needs them is a country, not
// a lake, and would fill memory before the first file is written.
constexpr qsizetype fileLimit = 100'000;

QString quoted(const QString &text)
{
    return QStringLiteral("\u201c%1\u201d").arg(text);
}

qint64 vertexCount(const OGRGeometry *g)
{
    if (!g)
        return 0;
    if (auto *curve = dynamic_cast<const OGRSimpleCurve *>(g))
        return curve->getNumPoints();
    if (auto *polygon = dynamic_cast<const OGRCurvePolygon *>(g)) {
        qint64 n = 0;
        for (const OGRCurve *ring : *polygon)
            n += ring->getNumPoints();
        return n;
    }
    if (auto *collection = dynamic_cast<const OGRGeometryCollection *>(g)) {
        qint64 n = 0;
        for (const OGRGeometry *member : *collection)
            n += vertexCount(member);
        return n;
    }
    return dynamic_cast<const OGRPoint *>(g) ? 1 : 0;
}

// Why a shape in degrees has no place on the grid, or the empty text.
QString offTheGrid(const OGRGeometry &g)
{
    OGREnvelope e;
    g.getEnvelope(&e);
    if (!std::isfinite(e.MinX) || !std::isfinite(e.MaxX) || !std::isfinite(e.MinY)
        || !std::isfinite(e.MaxY) || std::abs(e.MinY) > 90 || std::abs(e.MaxY) > 90
        || std::abs(e.MinX) > 360 || std::abs(e.MaxX) > 360)
        return QStringLiteral("has coordinates that are no latitude and longitude");
    if (e.MaxY >= 90 || e.MinY <= -90)
        return QStringLiteral("touches a pole, where the grid's areas shrink to nothing");
    if (e.MinX < -180 || e.MaxX > 180 || e.MaxX - e.MinX > 180)
        return QStringLiteral("crosses the antimeridian (longitude 180); cut it there first");
    return {};
}

class Builder
{
public:
    Builder(AreasPlan &plan, const AreasRequest &request, const AreasHooks &hooks,
            const AreaFileSink &sink)
        : m_plan(plan), m_request(request), m_hooks(hooks), m_sink(sink)
    {
    }

    // Polygons and closed rings become LWM parts, open lines VTP parts.
    void add(const OGRGeometry &g) { add(g, m_request.fill, m_request.choices, true); }

    // Polygons with their fill, lines with their line type, width and layer; closed lines
    // stay lines when `ringsArePolygons` is false.
    void add(const OGRGeometry &g, LwmFill fill, const SourceChoices &choices,
             bool ringsArePolygons)
    {
        AreasTally &t = m_plan.tally;
        if (auto *polygon = dynamic_cast<const OGRPolygon *>(&g)) {
            polygonal(*polygon, fill);
        } else if (auto *polygons = dynamic_cast<const OGRMultiPolygon *>(&g)) {
            polygonal(*polygons, fill);
        } else if (auto *line = dynamic_cast<const OGRLineString *>(&g)) {
            if (ringsArePolygons && line->getNumPoints() >= 4 && line->get_IsClosed()) {
                auto *ring = new OGRLinearRing;
                ring->addSubLineString(line);
                OGRPolygon polygon;
                polygon.addRingDirectly(ring);
                polygonal(polygon, fill);
            } else {
                this->line(*line, choices);
            }
        } else if (auto *collection = dynamic_cast<const OGRGeometryCollection *>(&g)) {
            for (const OGRGeometry *member : *collection)
                add(*member, fill, choices, ringsArePolygons);
        } else if (dynamic_cast<const OGRPoint *>(&g)) {
            ++t.points;
        }
    }

    bool full() const { return qsizetype(m_plan.files.size()) + m_masks.areaCount() > fileLimit; }

    // One file for every area, once all shapes are in; false on a cancel.
    bool finish()
    {
        return m_masks.write(
            m_request.choices,
            [this](AreaMasks::Written &&file) {
                if (m_request.within && !meets(*m_request.within, areaBounds(file.place)))
                    return;
                made({file.name, std::move(file.bytes), file.place.cellColumn, file.place.cellRow,
                      true, file.water, file.land});
            },
            m_plan.tally.refused, m_hooks.canceled);
    }

private:
    // A file handed on keeps only its name and cell here.
    void made(AreaFile &&file)
    {
        if (m_sink) {
            m_sink(file);
            file.bytes.clear();
        }
        m_plan.files.push_back(std::move(file));
    }

    static bool meets(const GeoBounds &a, const GeoBounds &b)
    {
        return a.west < b.east && b.west < a.east && a.south < b.north && b.south < a.north;
    }

    void polygonal(const OGRGeometry &g, LwmFill fill)
    {
        AreasTally &t = m_plan.tally;
        ++t.polygons;
        PolygonTally parts;
        m_masks.add(g, fill, parts, m_hooks.canceled);
        t.islands += parts.islands;
        t.fewPixels += parts.fewPixels;
        t.tooManyPoints += parts.tooManyPoints;
        t.unclipped += parts.unclipped;
        t.madeValid += parts.madeValid;
    }

    void line(const OGRLineString &line, const SourceChoices &choices)
    {
        ++m_plan.tally.lines;
        std::vector<GeoPoint> points;
        points.reserve(std::size_t(line.getNumPoints()));
        for (int i = 0; i < line.getNumPoints(); ++i)
            points.push_back({line.getY(i), line.getX(i)});
        for (const CellLine &part : cutAtCells(points)) {
            for (const LinePresses &piece :
                 linePieces(part.cellColumn, part.cellRow, part.points, partPointLimit)) {
                if (!distinctAtLeast(piece.pixels, 2)) {
                    ++m_plan.tally.fewPixels;
                    continue;
                }
                const int n = ++m_numbers[vtpFileName(part.cellColumn, part.cellRow, 1)];
                made({vtpFileName(part.cellColumn, part.cellRow, n),
                      vtpPartText(piece.start, piece.pixels, choices), part.cellColumn,
                      part.cellRow, false});
            }
        }
    }

    AreasPlan &m_plan;
    const AreasRequest &m_request;
    const AreasHooks &m_hooks;
    const AreaFileSink &m_sink;
    AreaMasks m_masks;
    std::map<QString, int> m_numbers;
};

// The one layer or feature the request names, as (layer, place in the layer).
struct Selection
{
    std::optional<int> layer;
    qint64 feature = -1;
};

std::optional<Selection> select(GDALDataset &dataset, const QString &shape)
{
    if (shape.isEmpty())
        return Selection{};
    for (int i = 0; i < dataset.GetLayerCount(); ++i) {
        if (QString::fromUtf8(dataset.GetLayer(i)->GetName()) == shape)
            return Selection{i};
    }
    for (int i = 0; i < dataset.GetLayerCount(); ++i) {
        OGRLayer &layer = *dataset.GetLayer(i);
        qint64 place = 0;
        for (auto &feature : layer) {
            if (featureName(*feature, layer, place) == shape)
                return Selection{i, place};
            ++place;
        }
    }
    return std::nullopt;
}

QString nothingToTake(const QString &path, const AreasTally &t)
{
    const QString file = quoted(QDir::toNativeSeparators(path));
    if (t.points > 0)
        return QStringLiteral("%1 holds only points; areas are written for polygons and lines.")
            .arg(file);
    return QStringLiteral("%1 holds no polygon or line.").arg(file);
}

// "nan" and "inf" read as numbers too, but no compiler takes them.
bool isNumber(const QString &text)
{
    bool number = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &number);
    return number && std::isfinite(value);
}

} // namespace

QString lwmAltitudeProblem(const QString &altitude)
{
    // The window writes whatever altitude is typed; a slip here would go into every file.
    if (isNumber(altitude))
        return {};
    return QStringLiteral("The LWM altitude %1 is no number of metres.").arg(quoted(altitude));
}

QString areasRequestProblem(const AreasRequest &request)
{
    if (request.shapePath.trimmed().isEmpty())
        return QStringLiteral("Name the shape file to write areas for.");
    if (request.outputFolder.trimmed().isEmpty())
        return QStringLiteral("Name the folder the files go into.");
    if (!layerItems().contains(request.choices.layer.trimmed()))
        return QStringLiteral("The VTP layer %1 is no whole number from 0 to 100.")
            .arg(quoted(request.choices.layer));
    if (const QString problem = lwmAltitudeProblem(request.choices.altitude); !problem.isEmpty())
        return problem;
    if (!isNumber(request.choices.width))
        return QStringLiteral("The VTP line width %1 is no number.")
            .arg(quoted(request.choices.width));
    if (request.choices.lineType != lineTypeStartText
        && !namesCatalogueLineType(request.choices.lineType))
        return QStringLiteral("The VTP line type %1 is none of the catalogue's (codes 1024 to "
                              "1209).")
            .arg(quoted(request.choices.lineType));
    return {};
}

AreasPlan planAreas(const AreasRequest &request, const AreasHooks &hooks, const AreaFileSink &sink)
{
    AreasPlan plan;
    OpenedVector opened = openVectorFile(request.shapePath);
    if (!opened.dataset) {
        plan.failure = opened.failure;
        return plan;
    }
    GDALDataset &dataset = *opened.dataset;
    const std::optional<Selection> selection = select(dataset, request.shape);
    if (!selection) {
        plan.failure =
            QStringLiteral("%1 holds no layer or feature named %2.")
                .arg(quoted(QDir::toNativeSeparators(request.shapePath)), quoted(request.shape));
        return plan;
    }
    // Counted before anything is cut, so that a file too large is refused at once, with its
    // size; the count of features drives the progress.
    qint64 total = 0, done = 0, vertices = 0;
    for (int i = 0; i < dataset.GetLayerCount(); ++i) {
        if (selection->layer && *selection->layer != i)
            continue;
        qint64 place = -1;
        for (auto &feature : *dataset.GetLayer(i)) {
            if (selection->feature >= 0 && ++place != selection->feature)
                continue;
            vertices += vertexCount(feature->GetGeometryRef());
            ++total;
        }
    }
    if (vertices > request.vertexLimit) {
        plan.failure = QStringLiteral("%1 holds %L2 vertices; at most %L3 can be written at once. "
                                      "Pick one of its layers or features, or cut the file into "
                                      "smaller ones.")
                           .arg(quoted(QDir::toNativeSeparators(request.shapePath)))
                           .arg(vertices)
                           .arg(request.vertexLimit);
        return plan;
    }
    Builder builder(plan, request, hooks, sink);
    for (int i = 0; i < dataset.GetLayerCount(); ++i) {
        if (selection->layer && *selection->layer != i)
            continue;
        OGRLayer &layer = *dataset.GetLayer(i);
        const LayerToDegrees degrees = layerToDegrees(layer, request.shapePath);
        if (!degrees.failure.isEmpty()) {
            plan.failure = degrees.failure;
            return plan;
        }
        layer.ResetReading();
        qint64 place = -1;
        for (auto &feature : layer) {
            ++place;
            if (selection->feature >= 0 && place != selection->feature)
                continue;
            std::unique_ptr<OGRGeometry> g = linearGeometry(feature->GetGeometryRef());
            if (g && !g->IsEmpty()) {
                if (degrees.transform && g->transform(degrees.transform.get()) != OGRERR_NONE) {
                    plan.files.clear();
                    plan.failure = QStringLiteral("%1 cannot be turned into latitude and "
                                                  "longitude.")
                                       .arg(quoted(featureName(*feature, layer, place)));
                    return plan;
                }
                if (const QString why = offTheGrid(*g); !why.isEmpty()) {
                    plan.files.clear();
                    plan.failure = QStringLiteral("%1 %2.").arg(
                        quoted(featureName(*feature, layer, place)), why);
                    return plan;
                }
                builder.add(*g);
                if (builder.full()) {
                    plan.files.clear();
                    plan.failure = QStringLiteral("The shapes cover more than %L1 areas and cells; "
                                                  "pick one of the file's layers or features, or "
                                                  "cut the file first.")
                                       .arg(fileLimit);
                    return plan;
                }
            }
            if (hooks.progress)
                hooks.progress(++done, total);
            if (hooks.canceled && hooks.canceled()) {
                plan.files.clear();
                plan.canceled = true;
                return plan;
            }
        }
    }
    if (plan.tally.polygons == 0 && plan.tally.lines == 0)
        plan.failure = nothingToTake(request.shapePath, plan.tally);
    else if (!builder.finish()) {
        plan.files.clear();
        plan.canceled = true;
    }
    return plan;
}

AreasPlan planAreaShapes(const AreasRequest &request, const ShapeSource &source,
                         const AreasHooks &hooks, const AreaFileSink &sink)
{
    AreasPlan plan;
    Builder builder(plan, request, hooks, sink);
    QString offGrid;
    auto take = [&](const OGRGeometry &g, LwmFill fill, const SourceChoices &choices,
                    bool polygonal) {
        if (g.IsEmpty())
            return true;
        if (const QString why = offTheGrid(g); !why.isEmpty()) {
            offGrid = QStringLiteral("A shape of %1 %2.")
                          .arg(quoted(QDir::toNativeSeparators(request.shapePath)), why);
            return false;
        }
        builder.add(g, fill, choices, polygonal);
        return !builder.full() && !(hooks.canceled && hooks.canceled());
    };
    const ShapeTakers takers{
        [&](const OGRGeometry &g, LwmFill fill) { return take(g, fill, request.choices, true); },
        [&](const OGRGeometry &g, const SourceChoices &choices) {
            return take(g, request.fill, choices, false);
        }};
    const QString failure = source(takers);
    if (hooks.canceled && hooks.canceled()) {
        plan.files.clear();
        plan.canceled = true;
    } else if (!failure.isEmpty() || !offGrid.isEmpty()) {
        plan.files.clear();
        plan.failure = failure.isEmpty() ? offGrid : failure;
    } else if (builder.full()) {
        plan.files.clear();
        plan.failure = QStringLiteral("The shapes cover more than %L1 areas and cells; take a "
                                      "smaller part of them.")
                           .arg(fileLimit);
    } else if (plan.tally.polygons == 0 && plan.tally.lines == 0) {
        plan.failure = QStringLiteral("%1 holds nothing to write%2.")
                           .arg(quoted(QDir::toNativeSeparators(request.shapePath)),
                                request.within ? QStringLiteral(" there") : QString());
    } else if (!builder.finish()) {
        plan.files.clear();
        plan.canceled = true;
    }
    return plan;
}

namespace {

// The files of one run, written by a thread of their own while the next ones are made, into
// a hidden folder beside their places; moved in only when all are there, so that a refusal,
// a cancel or a failure on the way leaves the output folder as it was. Thousands of files
// are one job, so none is synced to the disk on its own as a saved work file is.
class StagedFiles
{
public:
    explicit StagedFiles(const QString &folder)
        : m_folder(folder), m_shown(quoted(QDir::toNativeSeparators(folder))),
          m_madeFolder(!QDir(folder).exists())
    {
        std::error_code error;
        std::filesystem::create_directories(QFileInfo(folder).filesystemAbsoluteFilePath(), error);
        if (error || !QFileInfo(folder).isDir()) {
            m_failure = QStringLiteral("The folder %1 cannot be made: %2.")
                            .arg(m_shown, error ? QString::fromLocal8Bit(error.message())
                                                : QStringLiteral("a file of that name is there"));
            return;
        }
        m_staging.emplace(QDir(folder).filePath(QStringLiteral(".areas-XXXXXX")));
        if (!m_staging->isValid()) {
            m_failure = QStringLiteral("The folder %1 cannot be written: %2.")
                            .arg(m_shown, m_staging->errorString());
            return;
        }
        m_writer = std::thread([this] { write(); });
    }

    ~StagedFiles()
    {
        stop();
        m_staging.reset();
        // A folder this run made stays only when something was put into it.
        if (m_madeFolder)
            QDir().rmdir(m_folder);
    }

    StagedFiles(const StagedFiles &) = delete;
    StagedFiles &operator=(const StagedFiles &) = delete;

    QString failure() const { return m_failure; }

    void add(const AreaFile &file)
    {
        const std::lock_guard lock(m_mutex);
        m_queue.emplace_back(file.name, file.bytes);
        m_ready.notify_one();
    }

    // Waits for the last file, then moves all of them into the folder; the reason on failure.
    // A file replaced is kept aside until every move has succeeded, so that a failure on the
    // way can put the folder back as it was.
    QString moveIn(const std::vector<AreaFile> &files)
    {
        namespace fs = std::filesystem;
        stop();
        if (!m_failure.isEmpty())
            return m_failure;
        const fs::path staging = QFileInfo(m_staging->path()).filesystemAbsoluteFilePath();
        const fs::path aside = staging / "replaced";
        std::vector<Moved> moved;
        moved.reserve(files.size());
        for (const AreaFile &file : files) {
            const fs::path name = file.name.toStdU16String();
            const fs::path to =
                QFileInfo(QDir(m_folder).filePath(file.name)).filesystemAbsoluteFilePath();
            std::error_code error;
            bool replaced = false;
            if (fs::is_directory(to, error)) {
                error = std::make_error_code(std::errc::is_a_directory);
            } else if (fs::exists(to, error)) {
                fs::create_directories(aside, error);
                if (!error)
                    fs::rename(to, aside / name, error);
                replaced = !error;
            }
            if (!error) {
                fs::rename(staging / name, to, error);
                if (error && replaced) {
                    std::error_code ignored;
                    fs::rename(aside / name, to, ignored);
                }
            }
            if (error) {
                const QString why = QString::fromLocal8Bit(error.message().c_str());
                if (const qsizetype stuck = putBack(moved, aside); stuck > 0) {
                    m_staging->setAutoRemove(false);
                    return QStringLiteral("%1 could not be put into %2 (%3), and %4 of the files "
                                          "it replaced could not be put back; they are in %5.")
                        .arg(quoted(file.name), m_shown, why)
                        .arg(stuck)
                        .arg(quoted(QDir::toNativeSeparators(
                            QString::fromStdU16String(aside.u16string()))));
                }
                return QStringLiteral("%1 could not be put into %2 (%3); the folder is as it "
                                      "was.")
                    .arg(quoted(file.name), m_shown, why);
            }
            moved.push_back({to, replaced});
        }
        m_madeFolder = m_madeFolder && files.empty();
        return {};
    }

private:
    struct Moved
    {
        std::filesystem::path to;
        bool replaced;
    };

    // Undoes the moves so far, last first; the number of replaced files left aside.
    static qsizetype putBack(const std::vector<Moved> &moved, const std::filesystem::path &aside)
    {
        qsizetype stuck = 0;
        for (auto it = moved.rbegin(); it != moved.rend(); ++it) {
            std::error_code error;
            std::filesystem::remove(it->to, error);
            if (it->replaced) {
                std::filesystem::rename(aside / it->to.filename(), it->to, error);
                stuck += bool(error);
            }
        }
        return stuck;
    }

    void stop()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
            m_ready.notify_one();
        }
        if (m_writer.joinable())
            m_writer.join();
    }

    void write()
    {
        for (;;) {
            std::pair<QString, QByteArray> next;
            {
                std::unique_lock lock(m_mutex);
                m_ready.wait(lock, [this] { return m_done || !m_queue.empty(); });
                if (m_queue.empty())
                    return;
                next = std::move(m_queue.front());
                m_queue.pop_front();
            }
            if (!m_failure.isEmpty())
                continue;
            QFile out(m_staging->filePath(next.first));
            if (!out.open(QIODevice::WriteOnly) || out.write(next.second) != next.second.size()
                || !out.flush())
                m_failure = QStringLiteral("%1 could not be written in %2 (%3); nothing was "
                                           "written.")
                                .arg(quoted(next.first), m_shown, out.errorString());
        }
    }

    QString m_folder, m_shown, m_failure; // m_failure: written by the writer until it stops
    bool m_madeFolder;
    std::optional<QTemporaryDir> m_staging;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<std::pair<QString, QByteArray>> m_queue;
    bool m_done = false;
    std::thread m_writer;
};

} // namespace

namespace {

QString counted(qint64 n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

// "3 polygons, 1 of them land", or "1 polygon".
QString polygonCount(qint64 water, qint64 land)
{
    const QString all = counted(water + land, "polygon", "polygons");
    if (land == 0)
        return all;
    if (water == 0)
        return all + QStringLiteral(", all land");
    return all + QStringLiteral(", %1 of them land").arg(land);
}

// Up to this many areas the summary names each with its polygons.
constexpr qsizetype areasNamed = 20;

} // namespace

QString areasSummary(const AreasRequest &request, const AreasPlan &plan)
{
    QStringList lines;
    const QString file = quoted(QDir::toNativeSeparators(request.shapePath));
    struct Cell
    {
        int lwm = 0, vtp = 0;
        qint64 water = 0, land = 0;
        QStringList areas;
    };
    std::map<std::pair<int, int>, Cell> cells;
    qsizetype lwmFiles = 0;
    for (const AreaFile &f : plan.files)
        lwmFiles += f.lwm;
    for (const AreaFile &f : plan.files) {
        Cell &cell = cells[{f.cellColumn, f.cellRow}];
        if (!f.lwm) {
            ++cell.vtp;
            continue;
        }
        ++cell.lwm;
        cell.water += f.water;
        cell.land += f.land;
        if (lwmFiles <= areasNamed)
            cell.areas << QStringLiteral("    %1: %2").arg(f.name, polygonCount(f.water, f.land));
    }
    if (plan.files.empty()) {
        lines << QStringLiteral("Nothing to write from %1.").arg(file);
    } else {
        lines << QStringLiteral("Wrote %1 from %2 into %3:")
                     .arg(counted(qint64(plan.files.size()), "file", "files"), file,
                          quoted(QDir::toNativeSeparators(request.outputFolder)));
        for (const auto &[place, cell] : cells) {
            QStringList kinds;
            if (cell.lwm > 0)
                kinds << QStringLiteral("%1 LWM with %2")
                             .arg(cell.lwm)
                             .arg(polygonCount(cell.water, cell.land));
            if (cell.vtp > 0)
                kinds << QStringLiteral("%1 VTP").arg(cell.vtp);
            lines << QStringLiteral("  cell %1_%2: %3")
                         .arg(place.first)
                         .arg(place.second)
                         .arg(kinds.join(QStringLiteral(", ")));
            lines << cell.areas;
        }
    }
    const AreasTally &t = plan.tally;
    // The holes of land polygons are lakes, written as water over the land.
    if (t.islands > 0 && request.fill == LwmFill::Water)
        lines << QStringLiteral("Wrote %1 as land over the water around %2.")
                     .arg(counted(t.islands, "island", "islands"),
                          QLatin1String(t.islands == 1 ? "it" : "them"));
    else if (t.islands > 0)
        lines << QStringLiteral("Wrote %1 as water over the land around %2.")
                     .arg(counted(t.islands, "hole", "holes"),
                          QLatin1String(t.islands == 1 ? "it" : "them"));
    if (!t.refused.isEmpty())
        lines << QStringLiteral("Left out %1: %2")
                     .arg(counted(t.refused.size(), "area", "areas"),
                          t.refused.join(QLatin1Char(' ')));
    if (const qint64 skipped = t.fewPixels + t.tooManyPoints + t.unclipped; skipped > 0) {
        QStringList why;
        if (t.fewPixels > 0)
            why << QStringLiteral("%1 too small (fewer than 3 distinct pixels for a polygon, 2 "
                                  "for a line)")
                       .arg(t.fewPixels);
        if (t.tooManyPoints > 0)
            why << QStringLiteral("%1 still above %2 points after halving")
                       .arg(t.tooManyPoints)
                       .arg(partPointLimit);
        if (t.unclipped > 0)
            why << QStringLiteral("%1 that GEOS could not cut").arg(t.unclipped);
        lines << QStringLiteral("Skipped %1: %2.")
                     .arg(counted(skipped, "part", "parts"), why.join(QStringLiteral("; ")));
    }
    if (t.madeValid > 0)
        lines << QStringLiteral("Made %1 valid before cutting (a ring crossed itself or "
                                "another).")
                     .arg(counted(t.madeValid, "polygon", "polygons"));
    if (t.points > 0 && (t.polygons > 0 || t.lines > 0))
        lines << QStringLiteral("Passed over %1: only polygons and lines make areas.")
                     .arg(counted(t.points, "point", "points"));
    return lines.join(u'\n');
}

namespace {

// A VTP file that names no line type assembles into no known texture; the window's Create
// says so of its file, and so does every written file here.
QStringList lineTypeWarnings(const AreasRequest &request, const AreasPlan &plan)
{
    QStringList warnings;
    if (namesCatalogueLineType(request.choices.lineType))
        return warnings;
    for (const AreaFile &f : plan.files) {
        if (!f.lwm)
            warnings << QStringLiteral("%1 was written with the line type \"%2\", which names no "
                                       "line type of the catalogue.")
                            .arg(f.name, request.choices.lineType);
    }
    return warnings;
}

// `ownLineTypes`: each line brought its own line type, so the request's is not checked.
AreasOutcome writePlan(const AreasRequest &request,
                       const std::function<AreasPlan(const AreaFileSink &)> &planned,
                       bool ownLineTypes)
{
    StagedFiles staged(request.outputFolder);
    if (!staged.failure().isEmpty())
        return {AreasOutcome::Result::BadInput, staged.failure()};
    const AreasPlan plan = planned([&staged](const AreaFile &file) { staged.add(file); });
    if (plan.canceled)
        return {AreasOutcome::Result::Canceled,
                QStringLiteral("Canceled; nothing was written, and the folder is as it was.")};
    if (!plan.failure.isEmpty())
        return {AreasOutcome::Result::BadInput, plan.failure};
    if (plan.files.empty())
        return {AreasOutcome::Result::BadInput, areasSummary(request, plan)};
    if (const QString failure = staged.moveIn(plan.files); !failure.isEmpty())
        return {AreasOutcome::Result::BadInput, failure};
    AreasOutcome outcome{AreasOutcome::Result::Written, areasSummary(request, plan),
                         ownLineTypes ? QStringList() : lineTypeWarnings(request, plan)};
    for (const AreaFile &file : plan.files)
        outcome.written << file.name;
    if (const qsizetype n = outcome.warnings.size(); n > 0)
        outcome.text += QStringLiteral("\n%1 no line type of the catalogue (\"%2\"): pick one "
                                       "(a code such as 1139) and write again.")
                            .arg(n == 1 ? QStringLiteral("1 VTP file names")
                                        : QStringLiteral("%1 VTP files name").arg(n))
                            .arg(request.choices.lineType);
    return outcome;
}

} // namespace

AreasOutcome writeAreas(const AreasRequest &request, const AreasHooks &hooks)
{
    return writePlan(
        request, [&](const AreaFileSink &sink) { return planAreas(request, hooks, sink); }, false);
}

AreasOutcome writeAreaShapes(const AreasRequest &request, const ShapeSource &source,
                             const AreasHooks &hooks)
{
    return writePlan(
        request,
        [&](const AreaFileSink &sink) { return planAreaShapes(request, source, hooks, sink); },
        true);
}
