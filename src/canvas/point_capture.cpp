#include "canvas/point_capture.h"

#include "grid/grid_constants.h"
#include "text/numbers.h"
#include "text/runtime_error.h"

#include <algorithm>

CursorReadouts mapCursorToGrid(const CursorInput &in, std::uint8_t marker)
{
    const int px = roundToInt16(checkedDivide(double(in.x) * lod::pixelUnits, in.innerWidth));
    const int py = roundToInt16(checkedDivide(double(in.y) * lod::pixelUnits, in.innerHeight));
    int gx = 0, gy = 0;
    try {
        gx = roundToInt16(
            checked(leadingNumber(in.areaColumn) * lod::areaPitch + lod::gridOrigin + px));
        gy = roundToInt16(
            checked(leadingNumber(in.areaRow) * lod::areaPitch + lod::gridOrigin + py));
    } catch (RuntimeError &e) {
        e.setDetail(QStringLiteral("the area captions \"%1\", \"%2\" lie far outside the grid")
                        .arg(in.areaColumn, in.areaRow));
        throw;
    }
    gx = std::clamp(gx, lod::gridOrigin, lod::lastGridPoint);
    gy = std::clamp(gy, lod::gridOrigin, lod::lastGridPoint);
    // The pixel labels stop at the image edge while the grid point follows a dragged cursor
    // on into the neighbouring areas. Clamped on the value: reading our own text back must
    // not depend on the locale.
    return {QString::number(std::clamp(px, 0, lod::lastPixel)) + QStringLiteral(", "),
            QString::number(std::clamp(py, 0, lod::lastPixel)),
            QStringLiteral("%1, %2, ").arg(gx).arg(marker),
            QString::number(gy) + QStringLiteral(", 0")};
}

namespace {
QString vtpPoint(const CursorReadouts &r)
{
    return QStringLiteral("VTPWidePoint ") + r.lblvtp2x + r.lblvtp2y;
}
} // namespace

Capture capturePoint(const CursorInput &in, const QString &vtpCounterText, const QString &widthText,
                     qsizetype lwmCount, qsizetype vtpCount)
{
    Capture c;
    c.readouts = mapCursorToGrid(in, 0);
    c.lwmEntry = QStringLiteral("LWMPoint ") + c.readouts.lblx + c.readouts.lbly;
    // The counter, not the list, decides whether a new line starts here.
    if (leadingNumber(vtpCounterText) > 1) {
        c.vtpEntries << vtpPoint(c.readouts);
    } else {
        const QString first = vtpPoint(mapCursorToGrid(in, 1));
        c.vtpEntries << first << QStringLiteral("VTPWidePointWidth 1") << first
                     << QStringLiteral("VTPWidePointWidth ") + widthText << vtpPoint(c.readouts);
    }
    c.lwmCounter = QString::number(lwmCount + 1);
    c.vtpCounter = QString::number(vtpCount + c.vtpEntries.size() - 2);
    c.vtpWarning = leadingNumber(c.vtpCounter) > 31;
    c.lwmWarning = leadingNumber(c.lwmCounter) > 62;
    return c;
}
