#include "session/session.h"

#include "canvas/point_capture.h"
#include "exchange/shape_export.h"
#include "exchange/shape_reader.h"
#include "exchange/vertex_presses.h"
#include "grid/lod_grid.h"
#include "lists/list_changes.h"
#include "lists/list_editing.h"
#include "text/failure.h"
#include "text/runtime_error.h"
#include "text/typed_text.h"
#include "workfile/opening.h"
#include "workfile/work_file.h"

#include <QDir>
#include <QFileInfo>
#include <QUndoCommand>
#include <QUndoStack>

#include <functional>
#include <utility>

namespace {

// About 600 bytes a press: the last ten thousand steps are far more than a session needs
// and keep a hundred thousand presses from costing 60 MB in history alone.
constexpr int undoLimit = 10000;

constexpr QString WorkState::*workTexts[] = {
    &WorkState::latDeg,     &WorkState::latMin,     &WorkState::longDeg,    &WorkState::longMin,
    &WorkState::altitude,   &WorkState::lineType,   &WorkState::vtpWidth,   &WorkState::layer,
    &WorkState::lwmCounter, &WorkState::vtpCounter, &WorkState::latDecimal, &WorkState::lngDecimal,
    &WorkState::cellX,      &WorkState::cellY,      &WorkState::areaX,      &WorkState::areaY,
};
constexpr int readoutFirst = int(Field::PixelX);
static_assert(std::size(workTexts) == readoutFirst);

// The area a press is placed in: area 0, 0 before any Calculate, as its empty captions say.
double areaColumn(const std::optional<GridPlace> &place)
{
    return place ? place->areaColumn : 0;
}

double areaRow(const std::optional<GridPlace> &place)
{
    return place ? place->areaRow : 0;
}

// An edit the session has already made: the stack's first redo() is that edit itself, so it
// does nothing; only later redos make it again.
class MadeChange final : public QUndoCommand
{
public:
    MadeChange(std::unique_ptr<ListChange> change, const QString &name,
               std::function<void()> stepped)
        : QUndoCommand(name), m_change(std::move(change)), m_stepped(std::move(stepped))
    {
    }
    void undo() override
    {
        m_change->undo();
        m_stepped();
    }
    void redo() override
    {
        if (std::exchange(m_made, false))
            return;
        m_change->redo();
        m_stepped();
    }

private:
    std::unique_ptr<ListChange> m_change;
    std::function<void()> m_stepped;
    bool m_made = true;
};

// Open as one step of the history: undo puts back the work as it was, redo as opened.
class WholeChange final : public QUndoCommand
{
public:
    WholeChange(const QString &name, std::function<void()> before, std::function<void()> after)
        : QUndoCommand(name), m_before(std::move(before)), m_after(std::move(after))
    {
    }
    void undo() override { m_before(); }
    void redo() override { m_after(); }

private:
    std::function<void()> m_before, m_after;
};

} // namespace

// A list of the work as the editing routines and the history see it; every change is told.
class Session::Entries final : public EntryList
{
public:
    Entries(Session &session, ListSide side) : m_session(session), m_side(side) {}

    int count() const override { return int(state().entries.size()); }
    QString entry(int index) const override { return state().entries.at(index); }
    bool isSelected(int index) const override { return index == state().selected; }
    int selectedIndex() const override { return state().selected; }
    void removeAt(int index) override
    {
        ListState &s = m_session.list(m_side);
        s.entries.removeAt(index);
        const bool dropped = index == s.selected;
        if (dropped)
            s.selected = -1;
        else if (index < s.selected)
            --s.selected; // the same entry, one row higher
        told({EntriesChange::Removed, index, 1});
        if (dropped)
            emit m_session.selectionChanged(m_side);
    }
    void insertAt(int index, const QString &text) override
    {
        ListState &s = m_session.list(m_side);
        const bool atEnd = index == s.entries.size();
        s.entries.insert(index, text);
        if (s.selected >= index)
            ++s.selected;
        told({atEnd ? EntriesChange::Appended : EntriesChange::Inserted, index, 1});
    }
    void clear() override
    {
        ListState &s = m_session.list(m_side);
        const bool dropped = s.selected >= 0;
        s = ListState();
        told({EntriesChange::Reset, 0, 0});
        if (dropped)
            emit m_session.selectionChanged(m_side);
    }

private:
    const ListState &state() const { return m_session.list(m_side); }
    void told(const EntriesChange &change)
    {
        emit m_session.entriesChanged(m_side, change);
        m_session.setModified(true);
    }

    Session &m_session;
    ListSide m_side;
};

// A counter of the work as the history sees it; its warning follows from its text.
class Session::Counter final : public CounterField
{
public:
    Counter(Session &session, Field field) : m_session(session), m_field(field) {}
    CounterState state() const override
    {
        return {
            m_session.text(m_field),
            m_session.counterWarning(m_field == Field::LwmCounter ? ListSide::Lwm : ListSide::Vtp)};
    }
    void setState(const CounterState &state) override { m_session.writeText(m_field, state.text); }

private:
    Session &m_session;
    Field m_field;
};

Session::Session(const QString &outputFolder, QObject *parent)
    : QObject(parent), m_work(startState()), m_outputFolder(outputFolder),
      m_history(new QUndoStack(this)),
      m_lwmEntries(std::make_unique<Entries>(*this, ListSide::Lwm)),
      m_vtpEntries(std::make_unique<Entries>(*this, ListSide::Vtp)),
      m_lwmCounter(std::make_unique<Counter>(*this, Field::LwmCounter)),
      m_vtpCounter(std::make_unique<Counter>(*this, Field::VtpCounter))
{
    m_history->setObjectName(QStringLiteral("history"));
    m_history->setUndoLimit(undoLimit);
    // Undo and redo change the work as much as the edit itself did.
    connect(m_history, &QUndoStack::indexChanged, this, [this] { setModified(true); });
}

Session::~Session()
{
    // The commands hold references into the lists and counters below, which go before the
    // stack, a child, would; nobody is told of this last change.
    m_history->blockSignals(true);
    delete m_history;
}

const QString &Session::text(Field field) const
{
    return const_cast<Session *>(this)->textRef(field);
}

QString &Session::textRef(Field field)
{
    const int i = int(field);
    return i < readoutFirst ? m_work.*(workTexts[i]) : m_readouts[i - readoutFirst];
}

void Session::writeText(Field field, const QString &text)
{
    QString &to = textRef(field);
    if (to == text)
        return;
    to = text;
    emit textChanged(field);
}

void Session::setText(Field field, const QString &typed)
{
    const QString kept = typedText(typed);
    if (textRef(field) == kept) {
        if (kept != typed)
            emit textChanged(field); // the view still shows what the rule took out
        return;
    }
    writeText(field, kept);
    setModified(true);
}

void Session::select(ListSide side, int row)
{
    ListState &l = list(side);
    row = row >= 0 && row < l.entries.size() ? row : -1;
    if (l.selected == row)
        return;
    l.selected = row;
    emit selectionChanged(side);
}

bool Session::counterWarning(ListSide side) const
{
    return side == ListSide::Lwm ? lwmCounterWarning(m_work.lwmCounter)
                                 : vtpCounterWarning(m_work.vtpCounter);
}

void Session::setImageSource(const ImageSource &source)
{
    if (m_work.image == source)
        return;
    m_work.image = source;
    emit imageSourceChanged();
    setModified(true);
}

QString Session::lwmSourcePath() const
{
    return ::lwmSourcePath(m_outputFolder);
}

QString Session::vtpSourcePath() const
{
    return ::vtpSourcePath(m_outputFolder);
}

void Session::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

Session::Entries &Session::entryList(ListSide side)
{
    return side == ListSide::Lwm ? *m_lwmEntries : *m_vtpEntries;
}

void Session::placeFromCaptions()
{
    m_place = gridPlaceFromCaptions(m_work.cellX, m_work.cellY, m_work.areaX, m_work.areaY);
    emit placeChanged();
}

void Session::calculate()
{
    const GridCaptions c =
        calculateGrid({m_work.latDeg, m_work.latMin, m_work.longDeg, m_work.longMin}, m_locale);
    m_work.calculatedFrom = {m_work.latDeg, m_work.latMin, m_work.longDeg, m_work.longMin};
    const std::pair<Field, const std::optional<QString> *> captions[] = {
        {Field::CellX, &c.cellX},           {Field::CellY, &c.cellY},
        {Field::AreaX, &c.areaX},           {Field::AreaY, &c.areaY},
        {Field::LatDecimal, &c.latDecimal}, {Field::LngDecimal, &c.lngDecimal},
    };
    for (const auto &[field, caption] : captions) {
        if (*caption)
            writeText(field, **caption);
    }
    setModified(true);
    const std::optional<GridPlace> before = m_place;
    m_place = gridPlaceFromCaptions(m_work.cellX, m_work.cellY, m_work.areaX, m_work.areaY);
    // The polygons of an opened area file belong to its area only.
    const auto same = [](const std::optional<GridPlace> &a, const std::optional<GridPlace> &b) {
        return a && b && a->cellColumn == b->cellColumn && a->cellRow == b->cellRow
               && a->areaColumn == b->areaColumn && a->areaRow == b->areaRow;
    };
    if (!same(before, m_place))
        m_work.areaPolygons.clear();
    emit placeChanged();
    if (c.error)
        throw *c.error;
}

void Session::moveCursor(QPointF position, QSizeF innerSize)
{
    const CursorReadouts r =
        mapCursorToGrid({float(position.x()), float(position.y()), float(innerSize.width()),
                         float(innerSize.height()), areaColumn(m_place), areaRow(m_place)},
                        0);
    writeText(Field::PixelX, r.lblx);
    writeText(Field::PixelY, r.lbly);
    writeText(Field::GridX, r.lblvtp2x);
    writeText(Field::GridY, r.lblvtp2y);
}

void Session::append(ListSide side, const QStringList &added)
{
    if (added.isEmpty())
        return;
    QStringList &to = list(side).entries;
    const int first = int(to.size());
    to.append(added);
    emit entriesChanged(side, {EntriesChange::Appended, first, int(added.size())});
    setModified(true);
}

void Session::press(QPointF position, QSizeF innerSize)
{
    auto change =
        std::make_unique<PointCaptured>(*m_lwmEntries, *m_vtpEntries, *m_lwmCounter, *m_vtpCounter);
    try {
        const Capture c =
            capturePoint({float(position.x()), float(position.y()), float(innerSize.width()),
                          float(innerSize.height()), areaColumn(m_place), areaRow(m_place)},
                         m_work.vtpCounter, m_work.vtpWidth, m_work.lwm.entries.size(),
                         m_work.vtp.entries.size());
        writeText(Field::PixelX, c.readouts.lblx);
        writeText(Field::PixelY, c.readouts.lbly);
        writeText(Field::GridX, c.readouts.lblvtp2x);
        writeText(Field::GridY, c.readouts.lblvtp2y);
        append(ListSide::Lwm, {c.lwmEntry});
        append(ListSide::Vtp, c.vtpEntries);
        writeText(Field::LwmCounter, c.lwmCounter);
        writeText(Field::VtpCounter, c.vtpCounter);
    } catch (...) {
        record(std::move(change), QStringLiteral("Capture point"));
        throw;
    }
    record(std::move(change), QStringLiteral("Capture point"));
}

void Session::pressPixels(const std::vector<ImagePosition> &positions, const QString &stepName)
{
    if (positions.empty())
        return;
    auto change =
        std::make_unique<PointCaptured>(*m_lwmEntries, *m_vtpEntries, *m_lwmCounter, *m_vtpCounter);
    try {
        const CaptureRun run =
            captureRun(positions, areaColumn(m_place), areaRow(m_place), m_work.vtpCounter,
                       m_work.vtpWidth, m_work.lwm.entries.size(), m_work.vtp.entries.size());
        writeText(Field::PixelX, run.last.readouts.lblx);
        writeText(Field::PixelY, run.last.readouts.lbly);
        writeText(Field::GridX, run.last.readouts.lblvtp2x);
        writeText(Field::GridY, run.last.readouts.lblvtp2y);
        append(ListSide::Lwm, run.lwmEntries);
        append(ListSide::Vtp, run.vtpEntries);
        writeText(Field::LwmCounter, run.last.lwmCounter);
        writeText(Field::VtpCounter, run.last.vtpCounter);
    } catch (...) {
        record(std::move(change), stepName);
        throw;
    }
    record(std::move(change), stepName);
}

void Session::removeSelected(ListSide side)
{
    auto change =
        std::make_unique<EntriesRemoved>(entryList(side), EntriesRemoved::Which::Selected);
    xListRemoveSelected(entryList(side));
    record(std::move(change), QStringLiteral("Remove Selected"));
}

void Session::clearList(ListSide side)
{
    auto change = std::make_unique<EntriesRemoved>(entryList(side), EntriesRemoved::Which::All);
    ::clearList(entryList(side));
    record(std::move(change), side == ListSide::Lwm ? QStringLiteral("Clear LWM List")
                                                    : QStringLiteral("Clear VTP List"));
}

void Session::insertEntry(ListSide side, const QString &typed)
{
    auto change = std::make_unique<EntryInserted>(entryList(side));
    insertTypedEntry(entryList(side), typedText(typed));
    record(std::move(change), QStringLiteral("Insert"));
}

void Session::record(std::unique_ptr<ListChange> change, const QString &name)
{
    switch (change->finish()) {
    case ListChange::Outcome::Unchanged:
        return;
    case ListChange::Outcome::Recorded:
        m_history->push(new MadeChange(std::move(change), name, [this] { emit stepped(); }));
        return;
    case ListChange::Outcome::Inconsistent:
        // The older steps no longer fit the lists; taking them back would garble them.
        m_history->clear();
        return;
    }
}

namespace {
// Writes the text made by `make`, keeping why the folder refused it.
QString create(const QString &path, QString &failure, const std::function<QByteArray()> &make)
{
    try {
        // The whole text first: a failure must not leave a broken file behind.
        writeSourceFile(path, make());
    } catch (const RuntimeError &e) {
        if (e.number() == RuntimeError::PathFileAccess)
            failure = e.detail();
        throw;
    }
    failure.clear();
    return path;
}
} // namespace

QString Session::createLwm()
{
    return create(lwmSourcePath(), m_createFailure[int(ListSide::Lwm)],
                  [this] { return lwmSourceText(lwmInputs(m_work), m_locale); });
}

QString Session::createVtp()
{
    return create(vtpSourcePath(), m_createFailure[int(ListSide::Vtp)],
                  [this] { return vtpSourceText(vtpInputs(m_work), m_locale); });
}

const QString &Session::createFailure(ListSide side) const
{
    return m_createFailure[int(side)];
}

void Session::setOutputFolder(const QString &folder)
{
    m_outputFolder = folder;
    for (QString &failure : m_createFailure)
        failure.clear();
}

void Session::restore(const Snapshot &s)
{
    m_work = s.work;
    for (int f = 0; f < readoutFirst; ++f)
        emit textChanged(Field(f));
    for (ListSide side : {ListSide::Lwm, ListSide::Vtp}) {
        emit entriesChanged(side, {EntriesChange::Reset, 0, 0});
        emit selectionChanged(side);
    }
    placeFromCaptions();
    emit imageSourceChanged();
    if (std::exchange(m_workFile, s.workFile) != s.workFile)
        emit workFileChanged();
}

QString Session::unsavedQuestion() const
{
    return m_workFile.isEmpty()
               ? QStringLiteral("The work has changes that are not saved in a work file. "
                                "Save them?")
               : QStringLiteral("The work has changes that are not saved in %1. Save them?")
                     .arg(QFileInfo(m_workFile).fileName());
}

namespace {

QString placeOf(const WorkState &s, ListSide side)
{
    QString place = QStringLiteral("cell %1_%2").arg(s.cellX, s.cellY);
    if (side == ListSide::Lwm)
        place += QStringLiteral(", area %1_%2").arg(s.areaX, s.areaY);
    return place;
}

// The VTP entries are cell-wide grid points; the LWM entries are pixels of one area.
std::optional<StrandedEntries> strandedBy(const WorkState &before, const Opened &opened)
{
    if (opened.kind == OpenedKind::WorkFile || before.cellX.isEmpty())
        return std::nullopt;
    const ListSide other = opened.kind == OpenedKind::LwmSource ? ListSide::Vtp : ListSide::Lwm;
    const ListState &list = other == ListSide::Lwm ? before.lwm : before.vtp;
    const QString from = placeOf(before, other), to = placeOf(opened.state, other);
    if (list.entries.isEmpty() || from == to)
        return std::nullopt;
    return StrandedEntries{other, list.entries.size(), from, to};
}

QString listName(ListSide side)
{
    return side == ListSide::Lwm ? QStringLiteral("LWM") : QStringLiteral("VTP");
}

} // namespace

StrandedQuestion Session::strandedQuestion(const QString &path, const StrandedEntries &st)
{
    const QString list = listName(st.side);
    return {QStringLiteral("%1 is of %2, but the %3 list holds %4 entries of %5: Create "
                           "%3Source.asm would write them under %2.\n\nKeep the %3 entries, "
                           "clear the %3 list, or cancel the open?")
                .arg(QFileInfo(path).fileName(), st.to, list)
                .arg(st.count)
                .arg(st.from),
            QStringLiteral("C&lear %1 List").arg(list)};
}

StatusText Session::openedText(const QString &path, const OpenOutcome &outcome) const
{
    if (outcome.canceled)
        return {QStringLiteral("Not opened %1: the %2 list is as it was.")
                    .arg(QFileInfo(path).fileName(), listName(outcome.stranded->side))};
    const QString name = QFileInfo(path).fileName();
    // What Create would get wrong or leave out comes first, so that a narrow status line
    // keeps it; the notes that only inform follow the file's name.
    QStringList warnings, notes;
    if (outcome.polygons > 0) {
        const int shown = outcome.polygons - int(outcome.listed);
        warnings << (outcome.listed
                         ? QStringLiteral("Create LWMSource.asm writes only the polygon in the "
                                          "list, the first water polygon of the %1 in %2; the "
                                          "other %3 %4 drawn on the image, land in yellow.")
                               .arg(outcome.polygons)
                               .arg(name)
                               .arg(shown)
                               .arg(shown == 1 ? "is" : "are")
                         : QStringLiteral("%1 holds no water polygon: the list is empty and its "
                                          "%2 land %3 drawn on the image in yellow; Create "
                                          "LWMSource.asm writes only the list.")
                               .arg(name)
                               .arg(shown)
                               .arg(shown == 1 ? "polygon is" : "polygons are"));
    }
    if (const std::optional<StrandedEntries> &st = outcome.stranded; st && !outcome.strandedCleared)
        warnings << QStringLiteral("The %1 list keeps %2 entries of %3, which Create writes "
                                   "under %4.")
                        .arg(listName(st->side))
                        .arg(st->count)
                        .arg(st->from, st->to);
    const QString &image = m_work.image.path;
    if (outcome.workFile && !image.isEmpty() && !QFileInfo::exists(image))
        warnings << QStringLiteral("The image %1 is gone.").arg(QDir::toNativeSeparators(image));
    if (outcome.lfOnly)
        notes << QStringLiteral("its lines end in LF alone");
    if (const std::optional<StrandedEntries> &st = outcome.stranded; st && outcome.strandedCleared)
        notes << QStringLiteral("the %1 list's %2 entries of %3 were cleared")
                     .arg(listName(st->side))
                     .arg(st->count)
                     .arg(st->from);
    QString text = QStringLiteral("Opened %1").arg(name);
    if (!notes.isEmpty())
        text += QStringLiteral(": ") + notes.join(QStringLiteral("; "));
    return warnings.isEmpty() ? StatusText{text} : warnedText(warnings, text + u'.');
}

OpenOutcome Session::open(const QString &path, const AskStranded &ask)
{
    const auto read = [&] {
        try {
            return openFile(path, m_work, m_locale);
        } catch (const OpenFault &f) {
            throw Failure{QStringLiteral("%1 was not opened.").arg(QFileInfo(path).fileName()),
                          f.text};
        }
    };
    Opened opened = read();
    OpenOutcome outcome{opened.kind == OpenedKind::WorkFile, opened.lfOnly, opened.polygons,
                        opened.listed};
    outcome.stranded = strandedBy(m_work, opened);
    if (outcome.stranded && ask) {
        switch (ask(*outcome.stranded)) {
        case StrandedChoice::Cancel:
            outcome.canceled = true;
            return outcome;
        case StrandedChoice::Clear:
            (outcome.stranded->side == ListSide::Lwm ? opened.state.lwm : opened.state.vtp) = {};
            outcome.strandedCleared = true;
            break;
        case StrandedChoice::Keep:
            break;
        }
    }
    const Snapshot before{m_work, m_workFile};
    const Snapshot after{opened.state,
                         outcome.workFile ? QFileInfo(path).absoluteFilePath() : m_workFile};
    m_history->push(new WholeChange(
        QStringLiteral("Open %1").arg(QFileInfo(path).fileName()),
        [this, before] {
            restore(before);
            emit stepped();
        },
        [this, after] {
            restore(after);
            emit stepped();
        }));
    // A work file opened is the work as saved; a source opened changes the work.
    setModified(!outcome.workFile);
    return outcome;
}

StatusText Session::save(const QString &path)
{
    if (const QString why = saveWorkFile(path, m_work); !why.isEmpty())
        throw Failure{{},
                      QStringLiteral("The work was not saved to %1: %2.")
                          .arg(QDir::toNativeSeparators(path), why)};
    const QString saved = QFileInfo(path).absoluteFilePath();
    const std::size_t others = m_work.areaPolygons.size();
    // The work is now what the file holds, which has no place for an area file's others.
    if (others > 0) {
        m_work.areaPolygons.clear();
        emit areaPolygonsChanged();
    }
    if (std::exchange(m_workFile, saved) != saved)
        emit workFileChanged();
    setModified(false);
    const QString said = QStringLiteral("Saved %1").arg(QDir::toNativeSeparators(path));
    if (others == 0)
        return {said};
    // The drawn polygons of an opened area file went with the save: say so, not silently.
    return {QStringLiteral("The work file keeps only the LWM list: the other %1 of the area file "
                           "%2 no longer drawn; the area file still holds %3.  %4")
                .arg(others == 1 ? QStringLiteral("polygon")
                                 : QStringLiteral("%1 polygons").arg(others))
                .arg(others == 1 ? "is" : "are")
                .arg(others == 1 ? "it" : "them")
                .arg(said),
            true};
}

void Session::startOver()
{
    m_history->clear();
    for (QString &r : m_readouts)
        r.clear();
    for (int f = readoutFirst; f < fieldCount; ++f)
        emit textChanged(Field(f));
    restore({startState(), QString()});
    setModified(false);
}

const GridPlace &Session::requirePlace() const
{
    if (!m_place)
        throw Failure{{},
                      QStringLiteral("Calculate first: the shapes are placed on the globe by the "
                                     "calculated cell and area.")};
    return *m_place;
}

ShapeListing Session::shapesToImport(const QString &path) const
{
    requirePlace();
    ShapeListing listing = listShapes(path);
    if (!listing.failure.isEmpty())
        throw Failure{{}, listing.failure};
    return listing;
}

StatusText Session::importShape(const QString &path, const ShapeCandidate &candidate)
{
    const GridPlace &place = requirePlace();
    const ShapeVertices shape = readShape(path, candidate);
    if (!shape.failure.isEmpty())
        throw Failure{{}, shape.failure};
    const VertexPresses presses = vertexPresses(place, shape.vertices);
    if (const QString refusal = importRefusal(candidate, presses); !refusal.isEmpty())
        throw Failure{{}, refusal};
    pressPixels(presses.positions, QStringLiteral("Import Points"));
    return importSummary(path, candidate, shape, presses);
}

ExportShapes Session::shapesToExport() const
{
    ExportShapes shapes =
        ::exportShapes(requirePlace(), {m_work.lwm.entries, m_work.vtp.entries, m_work.altitude,
                                        m_work.lineType, m_work.layer});
    if (!shapes.hasPolygon() && !shapes.hasLine())
        throw Failure{{},
                      QStringLiteral("Nothing to export: a polygon needs three LWM points and a "
                                     "line two VTP points.")};
    return shapes;
}

StatusText Session::exportShapes(const ExportTarget &target, const ExportShapes &shapes) const
{
    if (const QString failure = writeShapes(target, shapes); !failure.isEmpty())
        throw Failure{{}, failure};
    return exportSummary(shapes, target.path);
}
