#pragma once

#include "writers/source_writers.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

// One point list: its entries and the selected one.
struct ListState
{
    QStringList entries;
    int selected = -1; // -1: none

    friend bool operator==(const ListState &, const ListState &) = default;
};

// Where the picture under the presses comes from.
struct ImageSource
{
    QString path; // empty: no image was loaded
    bool georeferenced = false;
    // The imagery service whose tiles make the picture, as the work file keeps it; empty for
    // an image from a file. The window checks it before anything is asked of the network.
    QJsonObject service;

    friend bool operator==(const ImageSource &, const ImageSource &) = default;
};

// The four coordinate texts as typed.
struct TypedPosition
{
    QString latDeg, latMin, longDeg, longMin;

    friend bool operator==(const TypedPosition &, const TypedPosition &) = default;
};

// The work: every text as the user typed it (the files copy them as typed), what Calculate
// wrote, the two lists and the picture's source. What a work file keeps and Open puts back.
struct WorkState
{
    QString latDeg, latMin, longDeg, longMin, altitude;
    QString lineType, vtpWidth, layer;
    QString lwmCounter, vtpCounter;
    // Calculate's captions; empty before the first Calculate.
    QString latDecimal, lngDecimal, cellX, cellY, areaX, areaY;
    // The coordinate texts that Calculate read: the fields may have changed since.
    TypedPosition calculatedFrom;
    ListState lwm, vtp;
    ImageSource image;
    // The other polygons of an area file opened whole, in drawing order: shown over the
    // picture for reference, never written by Create and not kept in a work file.
    std::vector<LwmPolygon> areaPolygons;

    friend bool operator==(const WorkState &, const WorkState &) = default;
};

// The texts a fresh window shows.
WorkState startState();

// Whether the counter's text asks for the file's extended form, which the window shows in red.
bool lwmCounterWarning(const QString &counter);
bool vtpCounterWarning(const QString &counter);

// What each writer reads of the work.
LwmInputs lwmInputs(const WorkState &s);
VtpInputs vtpInputs(const WorkState &s);

// A reopened source put back into the work: that side's fields, captions, counter and list,
// and the decimal degrees as Calculate would write them. The other side stays as it was.
void putLwmSource(WorkState &s, const LwmInputs &in, const QLocale &locale);
void putVtpSource(WorkState &s, const VtpInputs &in, const QLocale &locale);
