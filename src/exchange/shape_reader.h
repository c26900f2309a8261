#pragma once

#include "grid/geo_bounds.h"

#include <QString>

#include <vector>

// Lines, polygons and points read through GDAL/OGR from any vector file it knows, in any
// coordinate system it can turn into latitude and longitude. Only files on this computer are
// read, and nothing in a file leads to the network.

// The open dialog's filter: the usual vector files first, then any file, since GDAL knows
// more formats than a filter can name.
QString importFilter();

// What an import can press: one line or polygon, or the points of one layer in their order.
struct ShapeCandidate
{
    enum class Kind { Line, Polygon, Points };
    QString name;
    Kind kind;
    qsizetype vertices; // of the part that would be pressed, a polygon's closing one left out
    int layer;
    qint64 feature; // the feature's place in its layer; -1 for a layer's points
};

struct ShapeListing
{
    std::vector<ShapeCandidate> candidates;
    bool more = false; // the file holds more lines and polygons than are listed
    QString failure;   // why the file cannot be imported, in one sentence
};

// The file's lines and polygons (at most `candidateLimit`); only where it has none, its layers of
// points.
inline constexpr int candidateLimit = 100;
ShapeListing listShapes(const QString &path);

// "line", "polygon" or "points".
QString kindText(ShapeCandidate::Kind kind);
// "Main Street: line, 234 vertices", for the picker.
QString candidateText(const ShapeCandidate &candidate);
// The picker's question, which says when the file holds more than it lists.
QString pickQuestion(const ShapeListing &listing);

struct ShapeVertices
{
    // In order; not a number where a vertex has no latitude and longitude.
    std::vector<GeoPoint> vertices;
    qsizetype parts = 1; // of a multi-geometry, whose first line or polygon was taken
    qsizetype holes = 0; // a polygon's inner rings, left out
    QString failure;
};

// The vertices of one candidate of listShapes(path), at most importVertexLimit of them.
ShapeVertices readShape(const QString &path, const ShapeCandidate &candidate);
