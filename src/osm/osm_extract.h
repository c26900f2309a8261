#pragma once

#include "grid/geo_bounds.h"
#include "osm/osm_rules.h"

#include <QString>

#include <functional>
#include <optional>

class OGRGeometry;

// An OpenStreetMap extract read through GDAL's OSM driver, which joins ways to their nodes and
// multipolygon relations to polygons with holes. Only lines and areas are read; points are not.

struct OsmReading
{
    QString path;
    std::optional<GeoBounds> box; // only what meets it
    QStringList areaTags;         // OsmRules::areaTags(): closed ways with these are areas
};

// What GDAL mended or left out while it read: ways cut at the extract's edge, relations
// whose members it lacks or whose rings do not close.
struct OsmReadTally
{
    qint64 waysShort = 0;        // taken with the nodes the extract holds
    qint64 waysDropped = 0;      // fewer than 2 of their nodes in the extract
    qint64 relationsMissing = 0; // members missing: left out
    qint64 ringsOpen = 0;        // rings that do not close: their relations left out
};

struct OsmFeatureSink
{
    // A polygon or multipolygon in degrees, or a line string; `area` for the areas layer.
    std::function<void(const OGRGeometry &geometry, const OsmTags &tags, bool area)> feature;
    std::function<void(double fraction)> progress; // 0..1, by the file read so far
    std::function<bool()> canceled;
};

struct OsmReadResult
{
    OsmReadTally tally;
    QString failure; // why the extract could not be read to its end, in a sentence
    bool canceled = false;
};

OsmReadResult readOsmExtract(const OsmReading &reading, const OsmFeatureSink &sink);
