#pragma once

#include "areas/area_files.h"
#include "areas/polygon_parts.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <utility>
#include <vector>

class OGRGeometry;

// Every LOD 13 area's land/water mask, gathered from whole polygons and written one file an
// area. Within an area the polygons are drawn in three layers, each in the order added:
// the outer parts of water polygons, then land (the holes of water polygons, which are
// islands, and the outer parts of land polygons), then the holes of land polygons (a pond on
// an island). A later polygon draws over an earlier one, so each layer lies on the last.
class AreaMasks
{
public:
    // Cuts a polygon or multipolygon in degrees into the areas it covers; its outer rings get
    // `fill`, its holes the other fill. `canceled` is asked before every cut; after a cancel
    // the masks are incomplete and should be dropped.
    void add(const OGRGeometry &polygonal, LwmFill fill, PolygonTally &tally,
             const std::function<bool()> &canceled = {});

    qsizetype areaCount() const { return qsizetype(m_areas.size()); }

    // Each area's polygons in drawing order, in area order (row by row from the north, each
    // from the west); false when `canceled` said so between areas.
    using AreaVisit = std::function<void(const GridPlace &, const std::vector<AreaPolygon> &)>;
    bool forEachArea(const AreaVisit &visit, const std::function<bool()> &canceled = {}) const;

    // What one area's file holds.
    struct Written
    {
        GridPlace place;
        QString name;
        QByteArray bytes;
        int water = 0, land = 0; // polygons of each fill
    };
    // Makes each area's file in area order and hands it to `made`. An area that cannot be written
    // (too many polygons) gets no file; the reason, naming its file, is added to `refused`. Returns
    // false when `canceled` said so between areas.
    bool write(const SourceChoices &choices, const std::function<void(Written &&)> &made,
               QStringList &refused, const std::function<bool()> &canceled = {}) const;

private:
    struct Layers
    {
        GridPlace place;
        std::vector<AreaPolygon> layer[3];
    };
    // By global row, then column: a row of areas lies together, as a cell's areas do.
    std::map<std::pair<int, int>, Layers> m_areas;
};
