#pragma once

#include "grid/geo_bounds.h"
#include "grid/point_geography.h"
#include "text/status_text.h"
#include "workfile/work_state.h"

#include <QLocale>
#include <QObject>
#include <QPointF>
#include <QSizeF>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ListChange;
class QUndoStack;
struct ExportShapes;
struct ExportTarget;
struct ShapeCandidate;
struct ShapeListing;

// Every text of the work, by what it means. The first ten are typed; the next six are what
// Calculate wrote; the last four are the cursor readouts, which pass with every move.
enum class Field {
    LatDeg,
    LatMin,
    LongDeg,
    LongMin,
    Altitude,
    LineType,
    VtpWidth,
    Layer,
    LwmCounter,
    VtpCounter,
    LatDecimal,
    LngDecimal,
    CellX,
    CellY,
    AreaX,
    AreaY,
    PixelX,
    PixelY,
    GridX,
    GridY,
};
inline constexpr int fieldCount = int(Field::GridY) + 1;

enum class ListSide { Lwm, Vtp };

// How a list changed, so that a view redraws only what it must.
struct EntriesChange
{
    enum Kind { Appended, Inserted, Removed, Reset };
    Kind kind = Reset;
    int index = 0; // the first appended, the inserted or the removed entry
    int count = 0; // of appended entries
};

// The other list's entries, when an opened source moves the work to another cell (or, for
// the LWM list, another area): Create would write them under the new place.
struct StrandedEntries
{
    ListSide side;
    qsizetype count;
    QString from, to; // "cell 123_120" or "cell 123_120, area 2_27"
};
enum class StrandedChoice { Keep, Clear, Cancel };
// What to ask about them, and the label of the answer that clears the list.
struct StrandedQuestion
{
    QString text, clearButton;
};
using AskStranded = std::function<StrandedChoice(const StrandedEntries &)>;

// What Open found, for the status line.
struct OpenOutcome
{
    bool workFile = false;
    bool lfOnly = false;   // a source whose lines end in LF alone
    int polygons = 0;      // of an area file with more than one polygon, or a land one
    bool listed = false;   // its first water polygon went into the list
    bool canceled = false; // the user kept the work as it was
    std::optional<StrandedEntries> stranded = {};
    bool strandedCleared = false;
};

// The one working state of the program and the steps of every operation on it: what the
// window shows, the command line writes from and the tests drive, with or without a window.
// Each operation runs its steps in order. Two kinds of error leave one, thrown to the caller,
// which reports it: a run-time error (RuntimeError) leaves the steps before it done; a Failure
// (text/failure.h) changed nothing.
class Session final : public QObject
{
    Q_OBJECT

public:
    explicit Session(const QString &outputFolder, QObject *parent = nullptr);
    ~Session() override;

    const WorkState &work() const { return m_work; }
    const QString &text(Field field) const;
    // A text the user typed: it obeys the rule for typed text and marks the work modified.
    void setText(Field field, const QString &typed);
    // The cell and area of the last Calculate (or of an opened file); nothing before one.
    const std::optional<GridPlace> &place() const { return m_place; }
    const QStringList &entries(ListSide side) const { return list(side).entries; }
    // The other polygons of an opened area file, drawn for reference; gone after a Save or a
    // Calculate of another area.
    const std::vector<LwmPolygon> &areaPolygons() const { return m_work.areaPolygons; }
    int selected(ListSide side) const { return list(side).selected; }
    void select(ListSide side, int row);
    // The counter asks for the file's extended form.
    bool counterWarning(ListSide side) const;
    const ImageSource &imageSource() const { return m_work.image; }
    void setImageSource(const ImageSource &source);

    const QLocale &locale() const { return m_locale; }
    void setLocale(const QLocale &locale) { m_locale = locale; }
    const QString &outputFolder() const { return m_outputFolder; }
    // What failed in the folder before says nothing of another.
    void setOutputFolder(const QString &folder);
    QString lwmSourcePath() const;
    QString vtpSourcePath() const;

    const QString &workFile() const { return m_workFile; }
    bool isModified() const { return m_modified; }
    // What to ask before unsaved changes go.
    QString unsavedQuestion() const;
    void setModified(bool modified);
    QUndoStack *history() const { return m_history; }

    // The captions from the coordinate texts; those before a failing step are written.
    void calculate();
    // The cursor readouts for a position over the image panel of the given inner size.
    void moveCursor(QPointF position, QSizeF innerSize);
    // A press on the panel: one entry or a start group into each list, both counters.
    void press(QPointF position, QSizeF innerSize);
    // Presses at image pixel positions, one after the other, as one step of the history.
    void pressPixels(const std::vector<ImagePosition> &positions, const QString &stepName);
    void removeSelected(ListSide side);
    void clearList(ListSide side);
    // The typed entry before the selected one, or at the end; empty text inserts nothing.
    void insertEntry(ListSide side, const QString &typed);
    // Each writes its file whole, or leaves the earlier one, and returns the path written.
    QString createLwm();
    QString createVtp();
    // Why the last Create of that file could not write into the output folder; empty after
    // one that wrote it, or after the folder changed.
    const QString &createFailure(ListSide side) const;

    // A work file, or an LWMSource.asm / VTPSource.asm, as one step of the history. Throws
    // Failure before anything changes. A source of another place than the other list's
    // entries asks `ask` first whether to keep them; without one they are kept.
    OpenOutcome open(const QString &path, const AskStranded &ask = {});
    // What to ask before an opened source leaves the other list's entries under a new place.
    static StrandedQuestion strandedQuestion(const QString &path, const StrandedEntries &stranded);
    // For the status line after open(): "Opened name", and what the user should know of it;
    // what Create would get wrong or leave out comes first, as a warning.
    StatusText openedText(const QString &path, const OpenOutcome &outcome) const;
    // Writes the work file whole and says so for the status line, or throws Failure and
    // leaves the file and the work as they were.
    StatusText save(const QString &path);
    // The start state, with an empty history.
    void startOver();
    // The calculated place; throws Failure "Calculate first" before there is one, for the
    // shapes are placed on the globe by it.
    const GridPlace &requirePlace() const;
    // The shapes of a vector file that Import may press; throws Failure before a Calculate
    // or when the file offers none.
    ShapeListing shapesToImport(const QString &path) const;
    // Presses the vertices of one shape of a vector file; the status text, or throws
    // Failure with why nothing was pressed. Needs a Calculate first.
    StatusText importShape(const QString &path, const ShapeCandidate &candidate);
    // The LWM polygon and the VTP line as Export writes them; throws Failure before a
    // Calculate or with nothing to export.
    ExportShapes shapesToExport() const;
    // Writes them whole or not at all; the status text, or throws Failure.
    StatusText exportShapes(const ExportTarget &target, const ExportShapes &shapes) const;

signals:
    void textChanged(Field field);
    void entriesChanged(ListSide side, const EntriesChange &change);
    void selectionChanged(ListSide side);
    // Calculate or Open gave another cell or area.
    void placeChanged();
    // The other polygons of an opened area file went.
    void areaPolygonsChanged();
    void imageSourceChanged();
    void modifiedChanged(bool modified);
    void workFileChanged();
    // A step of the history was taken back or made again.
    void stepped();

private:
    class Entries;
    class Counter;
    friend class Entries;
    friend class Counter;
    struct Snapshot
    {
        WorkState work;
        QString workFile;
    };

    ListState &list(ListSide side) { return side == ListSide::Lwm ? m_work.lwm : m_work.vtp; }
    const ListState &list(ListSide side) const
    {
        return side == ListSide::Lwm ? m_work.lwm : m_work.vtp;
    }
    Entries &entryList(ListSide side);
    QString &textRef(Field field);
    void writeText(Field field, const QString &text);
    void append(ListSide side, const QStringList &added);
    void record(std::unique_ptr<ListChange> change, const QString &name);
    void restore(const Snapshot &s);
    void placeFromCaptions();

    WorkState m_work;
    QString m_readouts[4];
    std::optional<GridPlace> m_place;
    QLocale m_locale;
    QString m_outputFolder, m_workFile;
    bool m_modified = false;
    QString m_createFailure[2]; // by ListSide
    QUndoStack *m_history;
    std::unique_ptr<Entries> m_lwmEntries, m_vtpEntries;
    std::unique_ptr<Counter> m_lwmCounter, m_vtpCounter;
};
