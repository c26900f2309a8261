#pragma once

#include "areas/area_job.h"
#include "grid/geo_bounds.h"
#include "osm/osm_extract.h"
#include "osm/osm_rules.h"

#include <QString>

#include <map>
#include <optional>

// An OpenStreetMap extract written as the areas job writes a shape: one LWM file per area
// with its water and islands, VTP files per cell with each line's type from the rules.

struct OsmRequest
{
    QString extractPath, outputFolder;
    // Only the areas and cells the box touches, each written whole; none: the whole extract.
    std::optional<GeoBounds> box;
    OsmRules rules = shippedOsmRules();
    QString rulesPath; // empty: the shipped rules
    bool water = true, roads = true, waterways = true;
    QString altitude = QStringLiteral("0");
};

// Why the request cannot start, in words that the command line and the dialog both show; empty
// when it can: an extract and a folder named, something to write, an altitude in metres.
QString osmRequestProblem(const OsmRequest &request);

// The box a --bbox names, checked: west, south, east, north in degrees.
struct OsmBoxOrError
{
    GeoBounds box{};
    QString failure;
};
OsmBoxOrError osmBox(double west, double south, double east, double north);
// What the command line's --cell and --bbox and the dialog's fields take: "CX CY", the cell's
// column and row, and "W S E N" in degrees, numbers written with a point.
OsmBoxOrError readOsmCell(const QString &text);
OsmBoxOrError readOsmBox(const QString &text);

// A rules file read and checked, or why it cannot be used.
OsmRulesOrError loadOsmRules(const QString &path);

// The areas a box touches, as one box on their edges.
GeoBounds areaEdges(const GeoBounds &box);

// What the rules made of the extract's features, each counted by what it is ("natural=water").
struct OsmUse
{
    using Counts = std::map<QString, qint64>;
    Counts water, land, roads, waterways;
    Counts skipped;  // by a skip rule
    Counts notTaken; // by --no-water, --no-roads or --no-waterways
    Counts unmapped; // by no rule
    OsmReadTally read;
};

struct OsmOutcome
{
    AreasOutcome::Result result;
    QString text;             // the summary, or the reason nothing was written
    QStringList written = {}; // the names of the files written
};
OsmOutcome writeOsmAreas(const OsmRequest &request, const AreasHooks &hooks = {});

// What was taken from the extract and how, the lines the summary adds to the areas job's.
QString osmUseSummary(const OsmRequest &request, const OsmUse &use);
