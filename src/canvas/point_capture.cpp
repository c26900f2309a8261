#include "canvas/point_capture.h"

#include "grid/grid_constants.h"
#include "text/numbers.h"
#include "text/runtime_error.h"

#include <algorithm>

namespace {
// The first step of a mapping. The pixel is checked for 16 bits at once, so that an overflow
// in x is reported before a fault in y, as the steps run.
double pixelCoordinate(float cursor, float innerSize)
{
    const double pixel = checkedDivide(double(cursor) * lod::pixelUnits, innerSize);
    roundToInt16(pixel);
    return pixel;
}

PixelInput pixelInput(const CursorInput &in)
{
    const double x = pixelCoordinate(in.x, in.innerWidth);
    return {{x, pixelCoordinate(in.y, in.innerHeight)}, in.areaColumn, in.areaRow};
}
} // namespace

CursorReadouts mapCursorToGrid(const CursorInput &in, std::uint8_t marker)
{
    return mapPixelToGrid(pixelInput(in), marker);
}

CursorReadouts mapPixelToGrid(const PixelInput &in, std::uint8_t marker)
{
    const int px = roundToInt16(in.position.x);
    const int py = roundToInt16(in.position.y);
    int gx = 0, gy = 0;
    try {
        gx = roundToInt16(checked(in.areaColumn * lod::areaPitch + lod::gridOrigin + px));
        gy = roundToInt16(checked(in.areaRow * lod::areaPitch + lod::gridOrigin + py));
    } catch (RuntimeError &e) {
        e.setDetail(QStringLiteral("the area %1, %2 lies far outside the grid")
                        .arg(in.areaColumn)
                        .arg(in.areaRow));
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
    return capturePixel(pixelInput(in), vtpCounterText, widthText, lwmCount, vtpCount);
}

Capture capturePixel(const PixelInput &in, const QString &vtpCounterText, const QString &widthText,
                     qsizetype lwmCount, qsizetype vtpCount)
{
    Capture c;
    c.readouts = mapPixelToGrid(in, 0);
    c.lwmEntry = QStringLiteral("LWMPoint ") + c.readouts.lblx + c.readouts.lbly;
    // The counter, not the list, decides whether a new line starts here.
    if (leadingNumber(vtpCounterText) > 1) {
        c.vtpEntries << vtpPoint(c.readouts);
    } else {
        const QString first = vtpPoint(mapPixelToGrid(in, 1));
        c.vtpEntries << first << QStringLiteral("VTPWidePointWidth 1") << first
                     << QStringLiteral("VTPWidePointWidth ") + widthText << vtpPoint(c.readouts);
    }
    c.lwmCounter = QString::number(lwmCount + 1);
    c.vtpCounter = QString::number(vtpCount + c.vtpEntries.size() - 2);
    c.vtpWarning = leadingNumber(c.vtpCounter) > 31;
    c.lwmWarning = leadingNumber(c.lwmCounter) > 62;
    return c;
}

CaptureRun captureRun(const std::vector<ImagePosition> &positions, double areaColumn,
                      double areaRow, const QString &vtpCounterText, const QString &widthText,
                      qsizetype lwmCount, qsizetype vtpCount)
{
    CaptureRun run;
    run.lwmEntries.reserve(qsizetype(positions.size()));
    run.vtpEntries.reserve(qsizetype(positions.size()) + 4);
    PixelInput in{{}, areaColumn, areaRow};
    QString counter = vtpCounterText;
    for (const ImagePosition &p : positions) {
        in.position = p;
        run.last = capturePixel(in, counter, widthText, lwmCount + run.lwmEntries.size(),
                                vtpCount + run.vtpEntries.size());
        run.lwmEntries << run.last.lwmEntry;
        run.vtpEntries << run.last.vtpEntries;
        counter = run.last.vtpCounter;
    }
    return run;
}
