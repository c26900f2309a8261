#include "session/typing_hints.h"

#include "grid/geo_bounds.h"
#include "grid/lod_grid.h"
#include "text/numbers.h"
#include "workfile/work_state.h"
#include "writers/line_types.h"

QString lineTypeHint(const QString &lineType)
{
    if (namesCatalogueLineType(lineType))
        return QString();
    return QStringLiteral(
               "VTPSource.asm was written with the line type \"%1\", which names no line "
               "type from the catalogue: pick one in the VTP line type box below "
               "Calculate (a quoted code such as \"1139\") and Create again.")
        .arg(lineType);
}

QString minutesHint(const TypedPosition &typed, const QLocale &locale)
{
    const auto outside = [&locale](const QString &minutes) {
        const double m = localLeadingNumber(minutes, locale);
        return !(m >= 0 && m < 60);
    };
    QStringList which, texts;
    if (outside(typed.latMin)) {
        which << QStringLiteral("latitude");
        texts << typed.latMin;
    }
    if (outside(typed.longMin)) {
        which << QStringLiteral("longitude");
        texts << typed.longMin;
    }
    if (which.isEmpty())
        return QString();
    const CoordinateTexts c{typed.latDeg, typed.latMin, typed.longDeg, typed.longMin};
    const double lat = Lat(c, locale), lng = Lng(c, locale);
    return QStringLiteral("The %1 minutes %2 are outside 0 to 60: Calculate took the position "
                          "%3, %4 (%5, %6).")
        .arg(which.join(QStringLiteral(" and ")), texts.join(QStringLiteral(" and ")),
             hemisphereMinutesText(lat, true), hemisphereMinutesText(lng, false))
        .arg(lat, 0, 'f', 7)
        .arg(lng, 0, 'f', 7);
}
