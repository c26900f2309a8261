#pragma once

#include "grid/point_geography.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// A cursor position over the image panel, in the panel's own units, with the panel's inner
// size and the area that places the image in its cell (0, 0 before any Calculate).
struct CursorInput
{
    float x, y, innerWidth, innerHeight;
    double areaColumn = 0, areaRow = 0;
};

// A press as a position in pixel units of the area image, not yet rounded: what a cursor
// position becomes in the first step of its mapping, and what an imported vertex arrives as.
struct PixelInput
{
    ImagePosition position;
    double areaColumn = 0, areaRow = 0;
};

// The four cursor readouts, joined unchanged into the list entries.
struct CursorReadouts
{
    QString lblx, lbly, lblvtp2x, lblvtp2y;
};

// Pixel 0..255 in the area image and grid point 4080..12239 in the cell. Throws
// RuntimeError 11 or 6 for an inner size of 0, and 6 when a value leaves 16 bits.
CursorReadouts mapCursorToGrid(const CursorInput &in, std::uint8_t marker);
// The same mapping from its second step on; throws RuntimeError 6 when a value leaves 16 bits.
CursorReadouts mapPixelToGrid(const PixelInput &in, std::uint8_t marker);

// What one press adds: one LWM entry, one VTP entry or a start group of five, and the new
// counters with their warning colours. It never looks at the entries, so a press costs the
// same however long the lists are.
struct Capture
{
    CursorReadouts readouts;
    QString lwmEntry;
    QStringList vtpEntries;
    QString lwmCounter, vtpCounter;
    bool lwmWarning = false, vtpWarning = false;
};

Capture capturePoint(const CursorInput &in, const QString &vtpCounterText, const QString &widthText,
                     qsizetype lwmCount, qsizetype vtpCount);
Capture capturePixel(const PixelInput &in, const QString &vtpCounterText, const QString &widthText,
                     qsizetype lwmCount, qsizetype vtpCount);

// Presses at each position in turn, each reading the counter the one before it wrote, as a
// burst of presses would; `last` is the final press (there must be at least one).
struct CaptureRun
{
    QStringList lwmEntries, vtpEntries;
    Capture last;
};
CaptureRun captureRun(const std::vector<ImagePosition> &positions, double areaColumn,
                      double areaRow, const QString &vtpCounterText, const QString &widthText,
                      qsizetype lwmCount, qsizetype vtpCount);
