#pragma once

// Small OpenStreetMap extracts for the tests, written as the XML that editors export.

#include "grid/geo_bounds.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <utility>
#include <vector>

struct OsmNode
{
    long long id;
    double latitude, longitude;
};

struct OsmWay
{
    long long id;
    std::vector<long long> nodes;
    std::vector<std::pair<const char *, const char *>> tags;
};

struct OsmRelation
{
    long long id;
    std::vector<std::pair<long long, const char *>> ways; // way and role
    std::vector<std::pair<const char *, const char *>> tags;
};

inline bool writeOsmFile(const QString &path, const std::vector<OsmNode> &nodes,
                         const std::vector<OsmWay> &ways,
                         const std::vector<OsmRelation> &relations = {})
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osm version=\"0.6\">\n";
    auto tags = [&xml](const std::vector<std::pair<const char *, const char *>> &list) {
        for (const auto &[k, v] : list)
            xml +=
                QStringLiteral("  <tag k=\"%1\" v=\"%2\"/>\n")
                    .arg(QString::fromUtf8(k).toHtmlEscaped(), QString::fromUtf8(v).toHtmlEscaped())
                    .toUtf8();
    };
    for (const OsmNode &n : nodes)
        xml += QStringLiteral(" <node id=\"%1\" lat=\"%2\" lon=\"%3\"/>\n")
                   .arg(n.id)
                   .arg(n.latitude, 0, 'f', 7)
                   .arg(n.longitude, 0, 'f', 7)
                   .toUtf8();
    for (const OsmWay &w : ways) {
        xml += QStringLiteral(" <way id=\"%1\">\n").arg(w.id).toUtf8();
        for (long long n : w.nodes)
            xml += QStringLiteral("  <nd ref=\"%1\"/>\n").arg(n).toUtf8();
        tags(w.tags);
        xml += " </way>\n";
    }
    for (const OsmRelation &r : relations) {
        xml += QStringLiteral(" <relation id=\"%1\">\n").arg(r.id).toUtf8();
        for (const auto &[way, role] : r.ways)
            xml += QStringLiteral("  <member type=\"way\" ref=\"%1\" role=\"%2\"/>\n")
                       .arg(way)
                       .arg(QString::fromUtf8(role))
                       .toUtf8();
        tags(r.tags);
        xml += " </relation>\n";
    }
    xml += "</osm>\n";
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(xml) == xml.size();
}

// A pond in area 4, 9 of cell 401, 121, and a road north of it, by default from the cell into
// the one to the east.
inline bool writePondAndRoad(const QString &path, double roadWest = 8.40, double roadEast = 8.50)
{
    return writeOsmFile(
        path,
        {{1, 47.3540, 8.0320},
         {2, 47.3540, 8.0380},
         {3, 47.3580, 8.0380},
         {4, 47.3580, 8.0320},
         {5, 47.3600, roadWest},
         {6, 47.3600, roadEast}},
        {{10, {1, 2, 3, 4, 1}, {{"natural", "water"}}}, {11, {5, 6}, {{"highway", "primary"}}}});
}

// A point at fractions of an area's width (from the west) and height (from the south).
inline OsmNode nodeAt(long long id, const GridPlace &place, double x, double y)
{
    const GeoBounds b = areaBounds(place);
    return {id, b.south + y * (b.north - b.south), b.west + x * (b.east - b.west)};
}

// In one area: a lake with an island as a multipolygon relation, a pond as a closed way, a river
// into the next cell to the east, a motorway without lanes, a track with a surface and a power
// line.
inline QString writeDistrict(const QString &folder, const GridPlace &a)
{
    const std::vector<OsmNode> nodes = {
        nodeAt(1, a, .1, .1),
        nodeAt(2, a, .6, .1),
        nodeAt(3, a, .6, .6),
        nodeAt(4, a, .1, .6),
        nodeAt(5, a, .3, .3),
        nodeAt(6, a, .4, .3),
        nodeAt(7, a, .4, .4),
        nodeAt(8, a, .3, .4),
        nodeAt(9, a, .7, .7),
        nodeAt(10, a, .9, .7),
        nodeAt(11, a, .9, .9),
        nodeAt(12, a, .7, .9),
        nodeAt(20, a, .5, .95),
        // Far east of the area, beyond the cell's east edge (30 areas on).
        nodeAt(21, a, 31.5, .95),
        nodeAt(30, a, .05, .05),
        nodeAt(31, a, .95, .05),
        nodeAt(32, a, .95, .02),
        nodeAt(40, a, .05, .8),
        nodeAt(41, a, .05, .95),
    };
    const QString path = QDir(folder).filePath(QStringLiteral("district.osm"));
    writeOsmFile(path, nodes,
                 {{100, {1, 2, 3, 4, 1}, {}},
                  {101, {5, 6, 7, 8, 5}, {}},
                  {102, {20, 21}, {{"waterway", "river"}}},
                  {103, {30, 31}, {{"highway", "motorway"}}},
                  {104, {31, 32}, {{"highway", "track"}, {"surface", "gravel"}}},
                  {105, {40, 41}, {{"power", "line"}}},
                  {106, {9, 10, 11, 12, 9}, {{"water", "pond"}}}},
                 {{200,
                   {{100, "outer"}, {101, "inner"}},
                   {{"type", "multipolygon"}, {"natural", "water"}}}});
    return path;
}
