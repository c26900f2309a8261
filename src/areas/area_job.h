#pragma once

#include "areas/area_files.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <vector>

// Writing the sources of every area a shape file's polygons cover and of every cell its lines
// cross. The files are made in memory first and written only when all of them are ready, so a
// refused file or a cancel leaves the output folder as it was.

// No file takes more vertices than this: the files are held in memory until all are made.
inline constexpr qint64 areasVertexLimit = 5'000'000;

struct AreasRequest
{
    QString shapePath, outputFolder;
    QString shape; // a layer's or a feature's name, as the import picker lists it; empty: all
    SourceChoices choices;
    qint64 vertexLimit = areasVertexLimit;
};

// Called between features; `canceled` is asked as often.
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
};

struct AreasTally
{
    qint64 polygons = 0, lines = 0, points = 0, madeValid = 0;
    qint64 islands = 0, fewPixels = 0, tooManyPoints = 0, unclipped = 0;
};

struct AreasPlan
{
    std::vector<AreaFile> files;
    AreasTally tally;
    QString failure; // why nothing can be written, in a sentence or two
    bool canceled = false;
};

// Reads the file and makes every file, writing nothing.
AreasPlan planAreas(const AreasRequest &request, const AreasHooks &hooks = {});

// Writes the plan's files into the folder, each whole or not at all; on failure the files
// this run had already added are removed again and the result says why.
QString writeAreaFiles(const QString &folder, const std::vector<AreaFile> &files);

// What was written, per cell, what was left out and why.
QString areasSummary(const AreasRequest &request, const AreasPlan &plan);

struct AreasOutcome
{
    enum class Result { Written, BadInput, Canceled } result;
    QString text; // the summary, or the reason nothing was written
};
AreasOutcome writeAreas(const AreasRequest &request, const AreasHooks &hooks = {});
