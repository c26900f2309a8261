#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Where a cell or an area lies on the globe, so that the user can cut the right image.
struct GeoBounds
{
    double north, south, west, east;

    bool contains(double latitude, double longitude) const
    {
        return latitude <= north && latitude >= south && longitude >= west && longitude <= east;
    }
};

// The calculated cell and area, read from the captions Calculate wrote.
struct GridPlace
{
    int cellColumn, cellRow, areaColumn, areaRow;
};
// Nothing before the first Calculate (an empty caption) or for a caption outside the grid.
std::optional<GridPlace> gridPlaceFromCaptions(const QString &cellX, const QString &cellY,
                                               const QString &areaX, const QString &areaY);
GeoBounds areaBounds(const GridPlace &place);

// From the cell captions (column, row) and area captions as Calculate wrote them.
GeoBounds cellBounds(int cellColumn, int cellRow);
GeoBounds areaBounds(int cellColumn, int cellRow, int areaColumn, int areaRow);

// The position under a point of the area image, given as fractions 0..1 of its width and
// height from the top-left corner.
struct GeoPoint
{
    double latitude, longitude;
};
GeoPoint positionInArea(const GeoBounds &area, double fractionX, double fractionY);

// "47.5083333° N", "47° 30.500' N" and "N 47° 30.500'".
QString decimalDegreesText(double degrees, bool latitude);
QString degreesMinutesText(double degrees, bool latitude);
QString hemisphereMinutesText(double degrees, bool latitude);
// Four edges, in both forms, one edge a line.
QString boundsText(const QString &title, const GeoBounds &bounds);

// The two lines of the status line that say where the calculated area lies, or where the
// cursor is over it (fractions 0..1 of the picture from its top-left corner); before any
// Calculate, what to do.
QString areaPlaceText(const std::optional<GridPlace> &place);
QString cursorPlaceText(const std::optional<GridPlace> &place, double fractionX, double fractionY);
