#pragma once

#include "writers/source_writers.h"

#include <QString>
#include <QStringList>

// One point list as the window holds it.
struct ListState
{
    QStringList entries;
    int selected = -1; // -1: none

    friend bool operator==(const ListState &, const ListState &) = default;
};

// The window's working state, by control name: what a work file keeps and what Open puts
// back. The members carry the controls' names so that the tables below and the window's
// findChild() agree without a further list.
struct WorkState
{
    QString txtlatdeg, txtlatmin, txtlongdeg, txtlongmin, txtaltitude;
    QString lbllatdd, lbllongdd, lblcellx, lblcelly, lblareax, lblareay;
    QString cbovtptype, txtvtplinewidth, cbolayer;
    QString txtlwmnumber, txtvtpnumber, lblx, lbly, lblvtp2x, lblvtp2y;
    bool lwmWarning = false, vtpWarning = false; // the counters' red text
    ListState lstLWM, lstVTP;
    QString imagePath; // empty: no image was loaded
    bool imageGeoreferenced = false;

    friend bool operator==(const WorkState &, const WorkState &) = default;
};

struct WorkControl
{
    const char *name;
    QString WorkState::*text;
};

// Every text control of the working state: fields, combos, captions and readouts.
inline constexpr WorkControl workControls[] = {
    {"txtlatdeg", &WorkState::txtlatdeg},
    {"txtlatmin", &WorkState::txtlatmin},
    {"txtlongdeg", &WorkState::txtlongdeg},
    {"txtlongmin", &WorkState::txtlongmin},
    {"txtaltitude", &WorkState::txtaltitude},
    {"lbllatdd", &WorkState::lbllatdd},
    {"lbllongdd", &WorkState::lbllongdd},
    {"lblcellx", &WorkState::lblcellx},
    {"lblcelly", &WorkState::lblcelly},
    {"lblareax", &WorkState::lblareax},
    {"lblareay", &WorkState::lblareay},
    {"cbovtptype", &WorkState::cbovtptype},
    {"txtvtplinewidth", &WorkState::txtvtplinewidth},
    {"cbolayer", &WorkState::cbolayer},
    {"txtlwmnumber", &WorkState::txtlwmnumber},
    {"txtvtpnumber", &WorkState::txtvtpnumber},
    {"lblx", &WorkState::lblx},
    {"lbly", &WorkState::lbly},
    {"lblvtp2x", &WorkState::lblvtp2x},
    {"lblvtp2y", &WorkState::lblvtp2y},
};

struct WorkCounter
{
    const char *name;
    bool WorkState::*warning;
};

inline constexpr WorkCounter workCounters[] = {
    {"txtlwmnumber", &WorkState::lwmWarning},
    {"txtvtpnumber", &WorkState::vtpWarning},
};

struct WorkList
{
    const char *name;
    ListState WorkState::*list;
};

inline constexpr WorkList workLists[] = {
    {"lstLWM", &WorkState::lstLWM},
    {"lstVTP", &WorkState::lstVTP},
};

// What each writer reads of the working state.
LwmInputs lwmInputs(const WorkState &s);
VtpInputs vtpInputs(const WorkState &s);

// A reopened source put back into the working state: that side's fields, captions, counter
// and list, and the decimal-degree readouts as Calculate would write them. The other side
// stays as it was.
void putLwmSource(WorkState &s, const LwmInputs &in, const QLocale &locale);
void putVtpSource(WorkState &s, const VtpInputs &in, const QLocale &locale);
