#include "grid/geo_bounds.h"

#include "grid/grid_constants.h"
#include "text/numbers.h"

#include <cmath>

GeoBounds cellBounds(int cellColumn, int cellRow)
{
    const double west = -180 + lod::cellWidth * cellColumn;
    const double north = 90 - lod::cellHeight * cellRow;
    return {north, north - lod::cellHeight, west, west + lod::cellWidth};
}

GeoBounds areaBounds(int cellColumn, int cellRow, int areaColumn, int areaRow)
{
    // Computed from the global area index, so that neighbouring areas share their edges
    // exactly, also across cell borders.
    const int column = lod::areasPerCell * cellColumn + areaColumn;
    const int row = lod::areasPerCell * cellRow + areaRow;
    const double west = -180 + lod::areaWidth * column;
    const double north = 90 - lod::areaHeight * row;
    return {north, 90 - lod::areaHeight * (row + 1), west, -180 + lod::areaWidth * (column + 1)};
}

std::optional<GridPlace> gridPlaceFromCaptions(const QString &cellX, const QString &cellY,
                                               const QString &areaX, const QString &areaY)
{
    const auto index = [](const QString &caption, int last) -> std::optional<int> {
        if (caption.isEmpty())
            return std::nullopt;
        const double value = leadingNumber(caption);
        if (!(value >= 0 && value <= last) || value != std::floor(value))
            return std::nullopt;
        return int(value);
    };
    const auto cx = index(cellX, lod::lastCellColumn), cy = index(cellY, lod::lastCellRow);
    const auto ax = index(areaX, lod::lastArea), ay = index(areaY, lod::lastArea);
    if (!cx || !cy || !ax || !ay)
        return std::nullopt;
    return GridPlace{*cx, *cy, *ax, *ay};
}

GeoBounds areaBounds(const GridPlace &place)
{
    return areaBounds(place.cellColumn, place.cellRow, place.areaColumn, place.areaRow);
}

GeoPoint positionInArea(const GeoBounds &area, double fractionX, double fractionY)
{
    return {area.north - (area.north - area.south) * fractionY,
            area.west + (area.east - area.west) * fractionX};
}

namespace {
QChar hemisphere(double degrees, bool latitude)
{
    if (latitude)
        return degrees < 0 ? u'S' : u'N';
    return degrees < 0 ? u'W' : u'E';
}
} // namespace

QString decimalDegreesText(double degrees, bool latitude)
{
    return QStringLiteral("%1\u00b0 %2")
        .arg(std::abs(degrees), 0, 'f', 7)
        .arg(hemisphere(degrees, latitude));
}

namespace {
QString unsignedMinutesText(double degrees)
{
    // Round on the minutes first so that 59.9999' never shows as 60.000'.
    const double totalMinutes = std::round(std::abs(degrees) * 60 * 1000) / 1000;
    const double whole = std::floor(totalMinutes / 60);
    const double minutes = totalMinutes - whole * 60;
    return QStringLiteral("%1\u00b0 %2'").arg(whole, 0, 'f', 0).arg(minutes, 6, 'f', 3, u'0');
}
} // namespace

QString degreesMinutesText(double degrees, bool latitude)
{
    return unsignedMinutesText(degrees) + u' ' + hemisphere(degrees, latitude);
}

QString hemisphereMinutesText(double degrees, bool latitude)
{
    return hemisphere(degrees, latitude) + u' ' + unsignedMinutesText(degrees);
}

QString boundsText(const QString &title, const GeoBounds &b)
{
    const auto edge = [](const char *name, double degrees, bool latitude) {
        return QStringLiteral("%1: %2  (%3)")
            .arg(QLatin1String(name), decimalDegreesText(degrees, latitude),
                 degreesMinutesText(degrees, latitude));
    };
    return QStringList{title, edge("North", b.north, true), edge("South", b.south, true),
                       edge("West", b.west, false), edge("East", b.east, false)}
        .join(u'\n');
}

QString areaPlaceText(const std::optional<GridPlace> &place)
{
    if (!place)
        return QStringLiteral("Type a position\nand press Calculate.");
    const GeoBounds area = areaBounds(*place);
    return QStringLiteral("Area image: %1 to %2\n%3 to %4")
        .arg(hemisphereMinutesText(area.north, true), hemisphereMinutesText(area.south, true),
             hemisphereMinutesText(area.west, false), hemisphereMinutesText(area.east, false));
}

QString cursorPlaceText(const std::optional<GridPlace> &place, double fractionX, double fractionY)
{
    // Before Calculate the image lies nowhere yet: a place shown for it would be made up.
    if (!place)
        return QStringLiteral("Cursor: nowhere yet;\nCalculate places it on the globe.");
    const GeoPoint p = positionInArea(areaBounds(*place), fractionX, fractionY);
    return QStringLiteral("Cursor: %1  (%2)\n%3  (%4)")
        .arg(hemisphereMinutesText(p.latitude, true))
        .arg(p.latitude, 0, 'f', 7)
        .arg(hemisphereMinutesText(p.longitude, false))
        .arg(p.longitude, 0, 'f', 7);
}
