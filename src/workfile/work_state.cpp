#include "workfile/work_state.h"

#include "grid/lod_grid.h"
#include "text/numbers.h"
#include "text/point_entries.h"
#include "writers/line_types.h"

WorkState startState()
{
    WorkState s;
    s.latDeg = QStringLiteral("-00");
    s.latMin = QStringLiteral("00.00");
    s.longDeg = QStringLiteral("-000");
    s.longMin = QStringLiteral("00.00");
    s.altitude = QStringLiteral("0");
    s.lineType = lineTypeStartText;
    s.vtpWidth = QStringLiteral("0");
    s.layer = layerStartText;
    return s;
}

bool lwmCounterWarning(const QString &counter)
{
    return leadingNumber(counter) > entries::lwmShortFormPoints;
}

bool vtpCounterWarning(const QString &counter)
{
    return leadingNumber(counter) > entries::vtpBlockPoints;
}

LwmInputs lwmInputs(const WorkState &s)
{
    return {s.latDeg, s.latMin, s.longDeg,    s.longMin,  s.cellX,      s.cellY,
            s.areaX,  s.areaY,  s.lwmCounter, s.altitude, s.lwm.entries};
}

VtpInputs vtpInputs(const WorkState &s)
{
    return {s.latDeg, s.latMin, s.longDeg,    s.longMin,  s.cellX,
            s.cellY,  s.layer,  s.vtpCounter, s.lineType, s.vtp.entries};
}

namespace {

void putCoordinates(WorkState &s, const QString &latDeg, const QString &latMin,
                    const QString &longDeg, const QString &longMin, const QLocale &locale)
{
    s.latDeg = latDeg;
    s.latMin = latMin;
    s.longDeg = longDeg;
    s.longMin = longMin;
    s.calculatedFrom = {latDeg, latMin, longDeg, longMin};
    const CoordinateTexts typed{latDeg, latMin, longDeg, longMin};
    // As the last step of Calculate; a text that Calculate could not read leaves it empty
    // rather than showing the degrees of another place.
    try {
        s.latDecimal = numberText(Lat(typed, locale), locale);
    } catch (const RuntimeError &) {
        s.latDecimal.clear();
    }
    try {
        s.lngDecimal = numberText(Lng(typed, locale), locale);
    } catch (const RuntimeError &) {
        s.lngDecimal.clear();
    }
}

} // namespace

void putLwmSource(WorkState &s, const LwmInputs &in, const QLocale &locale)
{
    putCoordinates(s, in.latDeg, in.latMin, in.longDeg, in.longMin, locale);
    s.cellX = in.cellX;
    s.cellY = in.cellY;
    s.areaX = in.areaX;
    s.areaY = in.areaY;
    s.lwmCounter = in.lwmNumber;
    s.altitude = in.altitude;
    s.lwm = {in.entries, -1};
}

void putVtpSource(WorkState &s, const VtpInputs &in, const QLocale &locale)
{
    putCoordinates(s, in.latDeg, in.latMin, in.longDeg, in.longMin, locale);
    s.cellX = in.cellX;
    s.cellY = in.cellY;
    s.layer = in.layer;
    s.vtpCounter = in.vtpNumber;
    s.lineType = in.lineType;
    s.vtp = {in.entries, -1};
}
