#pragma once

#include "grid/geo_bounds.h"
#include "grid/lod_grid.h"
#include "grid/point_geography.h"
#include "writers/line_types.h"
#include "writers/source_writers.h"

#include <QByteArray>
#include <QString>

#include <vector>

// One area's or one cell's source file, made as the window makes it: the coordinate texts of
// the first line typed, Calculate pressed, then every pixel pressed through the capture code.

// The most points one polygon or line of these files may have; a larger part is split.
inline constexpr int partPointLimit = 191;

// What a user would type for the centre of an area: whole degrees ("-0" west of Greenwich or
// south of the equator) and minutes with two decimals. The area is at least 0.65 minutes
// high and wide, so the rounded centre stays well inside it.
CoordinateTexts centreTexts(const GridPlace &place);

// The choices the window holds in its other fields, at their start texts.
struct SourceChoices
{
    QString altitude = QStringLiteral("0");
    QString layer = layerStartText;
    QString width = QStringLiteral("0");
    QString lineType = lineTypeStartText;
};

// One polygon of an area's mask: whole pixel positions of the area image, pressed in turn.
struct AreaPolygon
{
    LwmFill fill = LwmFill::Water;
    std::vector<ImagePosition> pixels;
};

// An area's whole LWM file, or why it cannot be written (then `bytes` is empty).
struct AreaText
{
    QByteArray bytes;
    QString failure;
};

// The area's file with `polygons` in drawing order (a later one over an earlier one: water
// first, then islands as land). Each polygon's points are pressed on their own, its counter
// starting at 0; with one water polygon the file is what the window's Create writes for the
// same presses. More than lwmPolygonLimit polygons, or one above 255 points, is a failure
// naming the area.
AreaText lwmAreaFileText(const GridPlace &place, const std::vector<AreaPolygon> &polygons,
                         const SourceChoices &choices);

// `pixels` are whole pixel positions relative to `place`, anywhere in the cell, which
// `place` starts.
QByteArray vtpPartText(const GridPlace &place, const std::vector<ImagePosition> &pixels,
                       const SourceChoices &choices);

// "LWM_123_120_2_27.asm": one file an area.
QString lwmFileName(const GridPlace &place);
// "VTP_123_120_3.asm": the first line of a cell has no number, the second ends in "_2", and
// so on.
QString vtpFileName(int cellColumn, int cellRow, int partNumber);

// The global area that holds a position; on an edge, the one east and south of it.
GridPlace placeOf(GeoPoint point);
// The same area counted from the first of the globe: column 0..24575, row 0..16383.
GridPlace placeOfGlobalArea(int column, int row);
