#include "grid/lod_grid.h"

#include "text/numbers.h"

#include <cmath>

double decimalDegrees(const QString &degrees, const QString &minutes, const QLocale &locale)
{
    const double d = leadingNumber(degrees);
    const double m = localLeadingNumber(minutes, locale);
    // leadingNumber keeps the sign of a typed "-0", which decides for zero degrees.
    const double s = d < 0 ? -1.0 : d > 0 ? 1.0 : (std::signbit(d) ? -1.0 : 1.0);
    return checked(d + checkedDivide(checked(s * m), 60));
}

double Lat(const CoordinateTexts &typed, const QLocale &locale)
{
    return decimalDegrees(typed.latDeg, typed.latMin, locale);
}

double Lng(const CoordinateTexts &typed, const QLocale &locale)
{
    return decimalDegrees(typed.longDeg, typed.longMin, locale);
}

namespace {

// Number of the grid column or row that holds `offset` degrees from the grid's edge.
double gridIndex(double offset, double pitch)
{
    return std::floor(checkedDivide(checked(offset), pitch));
}

// A caption below 0 becomes "0", one above `last` becomes `last`. The value compared is the
// one its caption shows, so this agrees with reading the caption back.
QString clamped(const QString &caption, double value, int last)
{
    if (value < 0)
        return QStringLiteral("0");
    if (value > last)
        return QString::number(last);
    return caption;
}

} // namespace

GridCaptions calculateGrid(const CoordinateTexts &typed, const QLocale &locale)
{
    GridCaptions c;
    try {
        const double cellColumn = gridIndex(Lng(typed, locale) + 180, lod::cellWidth);
        c.cellX = numberText(cellColumn, locale);
        const double cellRow = gridIndex(90 - Lat(typed, locale), lod::cellHeight);
        c.cellY = numberText(cellRow, locale);

        c.cellX = clamped(*c.cellX, cellColumn, lod::lastCellColumn);
        c.cellY = clamped(*c.cellY, cellRow, lod::lastCellRow);

        const double cx = leadingNumber(*c.cellX);
        const double areaColumn =
            checked(gridIndex(Lng(typed, locale) + 180, lod::areaWidth) - 32 * cx);
        c.areaX = numberText(areaColumn, locale);
        const double cy = leadingNumber(*c.cellY);
        const double areaRow =
            checked(gridIndex(90 - Lat(typed, locale), lod::areaHeight) - 32 * cy);
        c.areaY = numberText(areaRow, locale);

        c.areaX = clamped(*c.areaX, areaColumn, lod::lastArea);
        c.areaY = clamped(*c.areaY, areaRow, lod::lastArea);

        c.latDecimal = numberText(Lat(typed, locale), locale);
        c.lngDecimal = numberText(Lng(typed, locale), locale);
    } catch (const RuntimeError &e) {
        c.error = e;
        c.error->setDetail(QStringLiteral("the position \"%1\" \"%2\", \"%3\" \"%4\" is too large "
                                          "for the grid")
                               .arg(typed.latDeg, typed.latMin, typed.longDeg, typed.longMin));
    }
    return c;
}
