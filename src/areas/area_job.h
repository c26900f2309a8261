#pragma once

#include "areas/area_files.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <vector>

class OGRGeometry;

// Writing the sources of every area a shape file's polygons cover and of every cell its lines
// cross. The files are moved into the output folder only when all of them are ready, so a
// refused file, a cancel or a failure leaves the folder as it was.

// No file takes more vertices than this: a larger one would take minutes and fill a folder
// with more files than anyone checks.
inline constexpr qint64 areasVertexLimit = 5'000'000;

struct AreasRequest
{
    QString shapePath, outputFolder;
    QString shape; // a layer's or a feature's name, as the import picker lists it; empty: all
    SourceChoices choices;
    LwmFill fill = LwmFill::Water; // of every polygon's outer rings; holes get the other
    qint64 vertexLimit = areasVertexLimit;
    // Only the areas that meet this box get a file; none: every area.
    std::optional<GeoBounds> within;
};

// Why the request cannot start, in words that the command line and the dialog both show; empty
// when it can. Checked before anything is read: a file and a folder named, a VTP layer of
// 0..100, a width that is a number, a line type of the catalogue (or none picked yet).
QString areasRequestProblem(const AreasRequest &request);
// Why an LWM altitude text cannot go into the files (it is no number of metres); empty if it can.
QString lwmAltitudeProblem(const QString &altitude);

// `progress` is called between features; `canceled` is asked there and before every cut of a
// polygon, so that a cancel takes effect within a large one.
struct AreasHooks
{
    std::function<void(qint64 done, qint64 total)> progress;
    std::function<bool()> canceled;
};

struct AreaFile
{
    QString name;
    QByteArray bytes;
    int cellColumn, cellRow;
    bool lwm;
    int water = 0, land = 0; // an LWM file's polygons of each fill
};

struct AreasTally
{
    qint64 polygons = 0, lines = 0, points = 0, madeValid = 0;
    qint64 islands = 0, fewPixels = 0, tooManyPoints = 0, unclipped = 0;
    QStringList refused; // why an area got no file, one sentence each
};

struct AreasPlan
{
    std::vector<AreaFile> files;
    AreasTally tally;
    QString failure; // why nothing can be written, in a sentence or two
    bool canceled = false;
};

// Reads the file and makes every file, writing nothing. With a sink each file is handed to
// it as soon as it is made, and the plan keeps only its name and cell.
using AreaFileSink = std::function<void(const AreaFile &)>;
AreasPlan planAreas(const AreasRequest &request, const AreasHooks &hooks = {},
                    const AreaFileSink &sink = {});

// What was written, per cell, what was left out and why.
QString areasSummary(const AreasRequest &request, const AreasPlan &plan);

struct AreasOutcome
{
    enum class Result { Written, BadInput, Canceled } result;
    QString text;              // the summary, or the reason nothing was written
    QStringList warnings = {}; // one sentence for each written file the user should mend
    QStringList written = {};  // the names of the files written, in the order made
};
AreasOutcome writeAreas(const AreasRequest &request, const AreasHooks &hooks = {});

// Shapes in degrees from elsewhere than a vector file (an OpenStreetMap extract): each polygon
// with its fill, each line with its own line type, width and layer. A taker answers false
// when no more should be handed on (a cancel, too many files, a shape off the grid); the
// source returns why it could not hand on all of them, or the empty text.
struct ShapeTakers
{
    std::function<bool(const OGRGeometry &polygonal, LwmFill fill)> polygon;
    std::function<bool(const OGRGeometry &line, const SourceChoices &choices)> line;
};
using ShapeSource = std::function<QString(const ShapeTakers &take)>;
AreasPlan planAreaShapes(const AreasRequest &request, const ShapeSource &source,
                         const AreasHooks &hooks = {}, const AreaFileSink &sink = {});
AreasOutcome writeAreaShapes(const AreasRequest &request, const ShapeSource &source,
                             const AreasHooks &hooks = {});
