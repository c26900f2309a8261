#pragma once

#include "grid/geo_bounds.h"
#include "writers/source_writers.h"

#include <QPointF>
#include <QPolygonF>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

// What the image panel draws over the picture, computed from lists of entries and the place
// they were captured in, in image pixels (0..255 over the area image).

// One shape in the making: the vertices of the entries that have a place in the area image,
// in list order, and which of them belongs to the selected entry (-1: none, or one without
// a place).
struct Shape
{
    QPolygonF points;
    int mark = -1;
};

// A finished polygon shown for reference under the shapes, water or land.
struct FilledShape
{
    QPolygonF points;
    bool land = false;
};

// The whole overlay: an LWM polygon, a VTP line, and filled polygons drawn first, a later
// one over an earlier one, with finished lines over them.
struct Overlay
{
    Shape polygon, line;
    std::vector<FilledShape> filled;
    std::vector<QPolygonF> lines = {};
};

// Where one entry lies. Entries of another form (width entries, typed free text) have no
// place and give nothing. A VTP entry is a grid point of the cell: its pixel depends on the
// area, area 0, 0 before any Calculate, as the press that made it saw it.
std::optional<QPointF> lwmEntryPixel(QStringView entry);
std::optional<QPointF> vtpEntryGridPoint(QStringView entry);
std::optional<QPointF> vtpEntryPixel(QStringView entry, const std::optional<GridPlace> &place);

// The shape of `entries` from `from` on (a press draws only what it appended); `selected`
// counts from the start of the list.
Shape lwmShape(const QStringList &entries, int selected = -1, qsizetype from = 0);
Shape vtpShape(const QStringList &entries, const std::optional<GridPlace> &place, int selected = -1,
               qsizetype from = 0);
// The polygons of an area file, each filled by its kind.
std::vector<FilledShape> filledShapes(const std::vector<LwmPolygon> &polygons);

// An area that a run wrote, as the preview shows it: its polygons filled, and those of its
// cell's lines that cross it. Nothing is being made, so there is no polygon or line shape.
Overlay writtenAreaOverlay(const std::vector<LwmPolygon> &polygons,
                           const std::vector<QStringList> &cellLines, const GridPlace &place);
