#pragma once

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
    s.cellX = "123";
    s.cellY = "120";
    s.areaX = "2";
    s.areaY = "27";
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
