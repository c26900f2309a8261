#pragma once

#include "grid/geo_bounds.h"
#include "text/status_text.h"

#include <QString>
#include <QStringList>

#include <vector>

// The LWM polygon and the VTP line as shapes on the globe, for a GIS to show beside its own
// data.

enum class ShapeFormat { GeoJson, Kml, Gpx };

// The save dialog's filter: one entry a format, GeoJSON first.
QString exportFilter();

// The file name's extension decides the format where it names one; otherwise the filter
// entry the user chose does, and its extension is added to the name.
struct ExportTarget
{
    QString path;
    ShapeFormat format;
};
ExportTarget exportTarget(const QString &chosenName, const QString &selectedFilter);

// What the export reads from the window.
struct ShapeTexts
{
    QStringList lwmEntries, vtpEntries;
    QString altitude, lineType, layer;
};

struct ExportShapes
{
    GridPlace place;
    QString altitude, lineType, layer;
    // The texts of the VTP list's width entries, in their order.
    QStringList widths;
    // Open: the writer closes the polygon. The line has its repeated vertices merged.
    std::vector<GeoPoint> polygon, line;
    // Entries that give no vertex: width entries, typed text, a place off the globe.
    qsizetype skippedLwm = 0, skippedVtp = 0;

    // A polygon needs three corners and a line two ends; a shorter one is not written.
    bool hasPolygon() const { return polygon.size() >= 3; }
    bool hasLine() const { return line.size() >= 2; }
};

ExportShapes exportShapes(const GridPlace &place, const ShapeTexts &texts);

// The status line after a successful export; what was left out comes first, as a warning.
StatusText exportSummary(const ExportShapes &shapes, const QString &path);

// Writes the shapes through GDAL/OGR in EPSG:4326, whole or not at all: an earlier file of
// the name stays as it was when anything fails. The empty text, or why not in one sentence.
QString writeShapes(const ExportTarget &target, const ExportShapes &shapes);
