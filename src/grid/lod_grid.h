#pragma once

#include "grid/grid_constants.h"
#include "text/runtime_error.h"

#include <QLocale>
#include <QString>

#include <optional>

// The four coordinate fields as typed.
struct CoordinateTexts
{
    QString latDeg, latMin, longDeg, longMin;
};

// Decimal degrees from a degrees text and a minutes text: the minutes take the sign of the
// degrees. With zero degrees the sign comes from a typed "-" ("-00" and 7.5 give -0.125),
// because a position 7.5 minutes west of 0 is not the same as one 7.5 minutes east. The
// minutes may use the locale's decimal separator as well as "." ("51,5" in German): read
// as "51" it would silently land the position in the area next door.
double decimalDegrees(const QString &degrees, const QString &minutes,
                      const QLocale &locale = QLocale());
double Lat(const CoordinateTexts &typed, const QLocale &locale = QLocale());
double Lng(const CoordinateTexts &typed, const QLocale &locale = QLocale());

// The six captions of one Calculate. A caption stays unset when the calculation failed
// before reaching it; `error` then says why, and the captions before it are still valid.
struct GridCaptions
{
    std::optional<QString> cellX, cellY, areaX, areaY, latDecimal, lngDecimal;
    std::optional<RuntimeError> error;
};

GridCaptions calculateGrid(const CoordinateTexts &typed, const QLocale &locale);
