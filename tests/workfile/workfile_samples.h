#pragma once

#include "workfile/work_file.h"
#include "workfile/work_state.h"

#include <ostream>

// The worked example's window after three presses, with entries selected and an image.
inline WorkState exampleState()
{
    WorkState s;
    s.txtlatdeg = "47";
    s.txtlatmin = "30.50";
    s.txtlongdeg = "-122";
    s.txtlongmin = "18.25";
    s.txtaltitude = "0";
    s.lbllatdd = "47.5083333333333";
    s.lbllongdd = "-122.304166666667";
    s.lblcellx = "123";
    s.lblcelly = "120";
    s.lblareax = "2";
    s.lblareay = "27";
    s.cbovtptype = "\"1139\"  ;asphalt / 2 lanes";
    s.txtvtplinewidth = "0";
    s.cbolayer = "8";
    s.txtlwmnumber = "3";
    s.txtvtpnumber = "5";
    s.lblx = "60, ";
    s.lbly = "70";
    s.lblvtp2x = "4650, 0, ";
    s.lblvtp2y = "11035, 0";
    s.lstLWM = {{"LWMPoint 12, 101", "LWMPoint 40, 90", "LWMPoint 60, 70"}, 1};
    s.lstVTP = {{"VTPWidePoint 4602, 1, 11066, 0", "VTPWidePointWidth 1",
                 "VTPWidePoint 4602, 1, 11066, 0", "VTPWidePointWidth 0",
                 "VTPWidePoint 4602, 0, 11066, 0", "VTPWidePoint 4630, 0, 11055, 0",
                 "VTPWidePoint 4650, 0, 11035, 0"},
                -1};
    s.imagePath = "/data/areas/seattle 2_27.bmp";
    return s;
}

// The fault text a call throws.
inline QString faultOf(auto &&call)
{
    try {
        call();
    } catch (const OpenFault &f) {
        return f.text;
    }
    return QStringLiteral("<no fault>");
}

// A failing comparison shows the states as their work files.
inline void PrintTo(const WorkState &s, std::ostream *os)
{
    *os << workFileText(s).toStdString();
}
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
