#pragma once

#include "grid/geo_bounds.h"
#include "osm/osm_rules.h"

#include <QByteArray>
#include <QString>

// What an Overpass API server is asked for a cell, and what its answer is worth.

// The query for every feature the rules take within the box, with the ways and nodes that
// make them up, as OpenStreetMap XML.
QByteArray overpassQuery(const OsmRules &rules, const GeoBounds &box);

struct OverpassAnswer
{
    bool ok = false;
    QString failure; // why the answer cannot be used, in one sentence
    qint64 nodes = 0, ways = 0, relations = 0;
};

// From the HTTP status and the bytes: an OpenStreetMap XML document read to its end, or why not.
// A server that ran out of time or memory says so in a remark and sends what it had; such a
// half answer is refused.
OverpassAnswer readOverpassAnswer(int httpStatus, const QByteArray &bytes);
