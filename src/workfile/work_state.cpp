#include "workfile/work_state.h"

#include "grid/lod_grid.h"
#include "text/numbers.h"

LwmInputs lwmInputs(const WorkState &s)
{
    return {s.txtlatdeg, s.txtlatmin, s.txtlongdeg,   s.txtlongmin,  s.lblcellx,      s.lblcelly,
            s.lblareax,  s.lblareay,  s.txtlwmnumber, s.txtaltitude, s.lstLWM.entries};
}

VtpInputs vtpInputs(const WorkState &s)
{
    return {s.txtlatdeg, s.txtlatmin, s.txtlongdeg,   s.txtlongmin, s.lblcellx,
            s.lblcelly,  s.cbolayer,  s.txtvtpnumber, s.cbovtptype, s.lstVTP.entries};
}

namespace {

void putCoordinates(WorkState &s, const QString &latDeg, const QString &latMin,
                    const QString &longDeg, const QString &longMin, const QLocale &locale)
{
    s.txtlatdeg = latDeg;
    s.txtlatmin = latMin;
    s.txtlongdeg = longDeg;
    s.txtlongmin = longMin;
    const CoordinateTexts typed{latDeg, latMin, longDeg, longMin};
    // As the last step of Calculate; a text that Calculate could not read leaves it empty
    // rather than showing the degrees of another place.
    try {
        s.lbllatdd = numberText(Lat(typed), locale);
    } catch (const RuntimeError &) {
        s.lbllatdd.clear();
    }
    try {
        s.lbllongdd = numberText(Lng(typed), locale);
    } catch (const RuntimeError &) {
        s.lbllongdd.clear();
    }
}

} // namespace

void putLwmSource(WorkState &s, const LwmInputs &in, const QLocale &locale)
{
    putCoordinates(s, in.latDeg, in.latMin, in.longDeg, in.longMin, locale);
    s.lblcellx = in.cellX;
    s.lblcelly = in.cellY;
    s.lblareax = in.areaX;
    s.lblareay = in.areaY;
    s.txtlwmnumber = in.lwmNumber;
    // Red from the count on which the polygon needs its extended line, as capture shows it.
    s.lwmWarning = leadingNumber(in.lwmNumber) > 62;
    s.txtaltitude = in.altitude;
    s.lstLWM = {in.entries, -1};
}

void putVtpSource(WorkState &s, const VtpInputs &in, const QLocale &locale)
{
    putCoordinates(s, in.latDeg, in.latMin, in.longDeg, in.longMin, locale);
    s.lblcellx = in.cellX;
    s.lblcelly = in.cellY;
    s.cbolayer = in.layer;
    s.txtvtpnumber = in.vtpNumber;
    s.vtpWarning = leadingNumber(in.vtpNumber) > 31;
    s.cbovtptype = in.lineType;
    s.lstVTP = {in.entries, -1};
}
