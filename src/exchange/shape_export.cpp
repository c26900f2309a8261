#include "exchange/shape_export.h"

#include "canvas/overlay.h"
#include "grid/grid_constants.h"
#include "grid/point_geography.h"
#include "text/typed_text.h"

#include <QFileInfo>

#include <cmath>

namespace {
struct FormatName
{
    ShapeFormat format = ShapeFormat::GeoJson;
    const char *filter = nullptr;
    QStringList extensions;
};

const FormatName formats[] = {
    {ShapeFormat::GeoJson, "GeoJSON (*.geojson *.json)", {"geojson", "json"}},
    {ShapeFormat::Kml, "KML (*.kml)", {"kml"}},
    {ShapeFormat::Gpx, "GPX (*.gpx)", {"gpx"}},
};

bool onGlobe(const GeoPoint &p)
{
    return std::abs(p.latitude) <= 90;
}

const QString widthPrefix = QStringLiteral("VTPWidePointWidth ");
} // namespace

QString exportFilter()
{
    QStringList entries;
    for (const FormatName &f : formats)
        entries << QLatin1String(f.filter);
    return entries.join(QStringLiteral(";;"));
}

ExportTarget exportTarget(const QString &chosenName, const QString &selectedFilter)
{
    const QString suffix = QFileInfo(chosenName).suffix().toLower();
    for (const FormatName &f : formats) {
        if (f.extensions.contains(suffix))
            return {chosenName, f.format};
    }
    for (const FormatName &f : formats) {
        if (selectedFilter == QLatin1String(f.filter))
            return {chosenName + u'.' + f.extensions.first(), f.format};
    }
    return {chosenName + QStringLiteral(".geojson"), ShapeFormat::GeoJson};
}

ExportShapes exportShapes(const GridPlace &place, const ShapeTexts &texts)
{
    // Typed as any text: a control character would make the XML formats unreadable.
    ExportShapes shapes{
        place, typedText(texts.altitude), typedText(texts.lineType), typedText(texts.layer), {}, {},
        {}};
    for (const QString &entry : texts.lwmEntries) {
        const auto pixel = lwmEntryPixel(entry);
        const GeoPoint p = pixel ? pixelGeoPoint(place, {pixel->x(), pixel->y()}) : GeoPoint{};
        if (pixel && onGlobe(p))
            shapes.polygon.push_back(p);
        else
            ++shapes.skippedLwm;
    }
    std::optional<QPointF> previous;
    for (const QString &entry : texts.vtpEntries) {
        const auto grid = vtpEntryGridPoint(entry);
        if (entry.startsWith(widthPrefix))
            shapes.widths << typedText(QStringView(entry).sliced(widthPrefix.size()));
        const GeoPoint p =
            grid ? gridGeoPoint(place.cellColumn, place.cellRow, {grid->x(), grid->y()})
                 : GeoPoint{};
        if (!grid || !onGlobe(p)) {
            ++shapes.skippedVtp;
            continue;
        }
        // The three points of a start group are one vertex of the line.
        if (grid != previous)
            shapes.line.push_back(p);
        previous = grid;
    }
    return shapes;
}

StatusText exportSummary(const ExportShapes &shapes, const QString &path)
{
    QStringList written, warnings;
    if (shapes.hasPolygon())
        written << QStringLiteral("the LWM polygon (%1 vertices)").arg(shapes.polygon.size());
    else
        warnings << QStringLiteral("No polygon: it needs three LWM points.");
    if (shapes.hasLine())
        written << QStringLiteral("the VTP line (%1 vertices)").arg(shapes.line.size());
    else
        warnings << QStringLiteral("No line: it needs two VTP points.");
    QString text = QStringLiteral("Exported %1 to %2.")
                       .arg(written.join(QStringLiteral(" and ")), QFileInfo(path).fileName());
    // Every VTP list holds width entries, so this only informs.
    QStringList skipped;
    if (shapes.skippedLwm > 0)
        skipped << QStringLiteral("%1 LWM").arg(shapes.skippedLwm);
    if (shapes.skippedVtp > 0)
        skipped << QStringLiteral("%1 VTP").arg(shapes.skippedVtp);
    if (!skipped.isEmpty())
        text += QStringLiteral(" Skipped %1 %2 not points.")
                    .arg(skipped.join(QStringLiteral(" and ")),
                         QLatin1String(shapes.skippedLwm + shapes.skippedVtp == 1
                                           ? "entry that is"
                                           : "entries that are"));
    return warnedText(warnings, text);
}
