#pragma once

#include "workfile/work_file.h"
#include "workfile/work_state.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <ostream>

// The worked example's window after three presses, with entries selected and an image.
inline WorkState exampleState()
{
    WorkState s;
    s.latDeg = "47";
    s.latMin = "30.50";
    s.longDeg = "-122";
    s.longMin = "18.25";
    s.altitude = "0";
    s.latDecimal = "47.5083333333333";
    s.lngDecimal = "-122.304166666667";
    s.cellX = "123";
    s.cellY = "120";
    s.areaX = "2";
    s.areaY = "27";
    s.calculatedFrom = {s.latDeg, s.latMin, s.longDeg, s.longMin};
    s.lineType = "\"1139\"  ;asphalt / 2 lanes";
    s.vtpWidth = "0";
    s.layer = "8";
    s.lwmCounter = "3";
    s.vtpCounter = "5";
    s.lwm = {{"LWMPoint 12, 101", "LWMPoint 40, 90", "LWMPoint 60, 70"}, 1};
    s.vtp = {{"VTPWidePoint 4602, 1, 11066, 0", "VTPWidePointWidth 1",
              "VTPWidePoint 4602, 1, 11066, 0", "VTPWidePointWidth 0",
              "VTPWidePoint 4602, 0, 11066, 0", "VTPWidePoint 4630, 0, 11055, 0",
              "VTPWidePoint 4650, 0, 11035, 0"},
             -1};
    s.image.path = "/data/areas/seattle 2_27.bmp";
    return s;
}

// The work as the first version of the work file kept it: by control name, with the passing
// cursor readouts and the counters' colours.
inline QByteArray versionOneText(const WorkState &w)
{
    const auto list = [](const ListState &l) {
        return QJsonObject{{"entries", QJsonArray::fromStringList(l.entries)},
                           {"selected", l.selected}};
    };
    const QJsonObject controls{
        {"txtlatdeg", w.latDeg},
        {"txtlatmin", w.latMin},
        {"txtlongdeg", w.longDeg},
        {"txtlongmin", w.longMin},
        {"txtaltitude", w.altitude},
        {"lbllatdd", w.latDecimal},
        {"lbllongdd", w.lngDecimal},
        {"lblcellx", w.cellX},
        {"lblcelly", w.cellY},
        {"lblareax", w.areaX},
        {"lblareay", w.areaY},
        {"cbovtptype", w.lineType},
        {"txtvtplinewidth", w.vtpWidth},
        {"cbolayer", w.layer},
        {"txtlwmnumber", w.lwmCounter},
        {"txtvtpnumber", w.vtpCounter},
        {"lblx", "60, "},
        {"lbly", "70"},
        {"lblvtp2x", "4650, 0, "},
        {"lblvtp2y", "11035, 0"},
    };
    const QJsonObject root{
        {"format", "Marlith work"},
        {"version", 1},
        {"controls", controls},
        {"counterWarnings", QJsonObject{{"txtlwmnumber", false}, {"txtvtpnumber", true}}},
        {"lists", QJsonObject{{"lstLWM", list(w.lwm)}, {"lstVTP", list(w.vtp)}}},
        {"image", QJsonObject{{"path", w.image.path}, {"georeferenced", w.image.georeferenced}}},
    };
    return QJsonDocument(root).toJson();
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
