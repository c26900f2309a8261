#pragma once

#include "workfile/work_state.h"

namespace bench {

// A window after `presses` presses: n LWM entries and n + 4 VTP entries, each its own string.
inline WorkState filledState(int presses)
{
    WorkState s;
    s.txtlatdeg = "47";
    s.txtlatmin = "30.50";
    s.txtlongdeg = "-122";
    s.txtlongmin = "18.25";
    s.lblcellx = "123";
    s.lblcelly = "120";
    s.lblareax = "2";
    s.lblareay = "27";
    s.cbolayer = "8";
    s.cbovtptype = "\"1139\"  ;asphalt / 2 lanes";
    s.txtlwmnumber = QString::number(presses);
    s.txtvtpnumber = QString::number(presses + 2);
    s.lstVTP.entries = {"VTPWidePoint 4602, 1, 11066, 0", "VTPWidePointWidth 1",
                        "VTPWidePoint 4602, 1, 11066, 0", "VTPWidePointWidth 0"};
    for (int i = 0; i < presses; ++i) {
        s.lstLWM.entries << QStringLiteral("LWMPoint %1, %2").arg(i % 256).arg(i / 256 % 256);
        s.lstVTP.entries << QStringLiteral("VTPWidePoint %1, 0, %2, 0")
                                .arg(4080 + i % 8160)
                                .arg(11066 - i % 977);
    }
    return s;
}

} // namespace bench
