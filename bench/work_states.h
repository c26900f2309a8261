#pragma once

#include "grid/lod_grid.h"
#include "workfile/work_state.h"

namespace bench {

// A window after `presses` presses: n LWM entries and n + 4 VTP entries, each its own string.
inline WorkState filledState(int presses)
{
    WorkState s;
    s.latDeg = "47";
    s.latMin = "30.50";
    s.longDeg = "-122";
    s.longMin = "18.25";
    // As Calculate leaves it, so that Open finds the captions it gives.
    s.calculatedFrom = {s.latDeg, s.latMin, s.longDeg, s.longMin};
    const GridCaptions c = calculateGrid({s.latDeg, s.latMin, s.longDeg, s.longMin}, QLocale::c());
    s.latDecimal = c.latDecimal.value_or(QString());
    s.lngDecimal = c.lngDecimal.value_or(QString());
    s.cellX = c.cellX.value_or(QString());
    s.cellY = c.cellY.value_or(QString());
    s.areaX = c.areaX.value_or(QString());
    s.areaY = c.areaY.value_or(QString());
    s.layer = "8";
    s.lineType = "\"1139\"  ;asphalt / 2 lanes";
    s.lwmCounter = QString::number(presses);
    s.vtpCounter = QString::number(presses + 2);
    s.vtp.entries = {"VTPWidePoint 4602, 1, 11066, 0", "VTPWidePointWidth 1",
                     "VTPWidePoint 4602, 1, 11066, 0", "VTPWidePointWidth 0"};
    for (int i = 0; i < presses; ++i) {
        s.lwm.entries << QStringLiteral("LWMPoint %1, %2").arg(i % 256).arg(i / 256 % 256);
        s.vtp.entries << QStringLiteral("VTPWidePoint %1, 0, %2, 0")
                             .arg(4080 + i % 8160)
                             .arg(11066 - i % 977);
    }
    return s;
}

} // namespace bench
